#pragma once

// The soak's journals: every workstation appends what it did (locks taken and given back, each
// write it is about to make and each one that returned) to a file of its own, and the supervisor
// appends when it killed a workstation and when each one ended. A line is written with one
// system call as soon as it happens, so a workstation killed at any moment leaves every line it
// finished; the stamps are the machine's monotonic clock, the same in every process.

#include <QString>
#include <QStringList>

#include <vector>

namespace orvento::soak {

// Nanoseconds of the monotonic clock.
qint64 monotonicStamp();

// An append-only journal; each line reaches the file before line() returns.
class Journal {
public:
    explicit Journal(const QString& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    // The words are written separated by single spaces; none may contain a space or a newline.
    void line(const QStringList& words);

private:
    int m_fd = -1;
};

// Every line of every journal in `folder` whose file name ends with `suffix`, split into words.
struct JournalLine {
    QString file; // the journal's file name, which names its writer
    QStringList words;
};
std::vector<JournalLine> readJournals(const QString& folder, const QString& suffix);

} // namespace orvento::soak
