#include "SoakLog.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>

namespace orvento::soak {

qint64 monotonicStamp() {
    // steady_clock is CLOCK_MONOTONIC on Linux: one clock for every process of the machine.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Journal::Journal(const QString& path) {
    m_fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                  0644);
}

Journal::~Journal() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void Journal::line(const QStringList& words) {
    if (m_fd < 0)
        return;
    const QByteArray text = words.join(QLatin1Char(' ')).toUtf8() + '\n';
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t written =
            ::write(m_fd, text.constData() + done, static_cast<size_t>(text.size() - done));
        if (written <= 0)
            return;
        done += written;
    }
}

std::vector<JournalLine> readJournals(const QString& folder, const QString& suffix) {
    std::vector<JournalLine> lines;
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList({QStringLiteral("*") + suffix}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString text = in.readLine();
            // A line cut short by a kill has no newline and may be incomplete: the reader of
            // each kind checks its word count.
            const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (!words.isEmpty())
                lines.push_back({name, words});
        }
    }
    return lines;
}

} // namespace orvento::soak
