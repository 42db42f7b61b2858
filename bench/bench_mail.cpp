// Sending a 20 MB attachment to a mail server on 127.0.0.1 (STARTTLS, login): the time until the
// server accepted it, and how much the process's memory grew meanwhile. The file is read from
// disk as it goes out, so the growth stays far below its size.

#include "bench/support/BenchFigures.h"
#include "core/SilentInteraction.h"
#include "output/MailSmtpHandOver.h"
#include "tests/support/SmtpSink.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

using namespace orvento;
using namespace orvento::bench;

namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kAttachmentMiB = 20;
constexpr double kTargetMs = 3000.0;
constexpr double kMemoryTargetMb = 10.0;
constexpr double kKibPerMib = 1024.0;
constexpr int kTimeoutSeconds = 30;

double peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / kKibPerMib;
}

bool writeAttachment(const QString& path, qint64 mib) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(kMiB, '\0');
    for (qint64 i = 0; i < mib; ++i) {
        for (qsizetype b = 0; b < block.size(); ++b)
            block[b] = static_cast<char>((b * 7 + i * 13) & 0xff);
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QCoreApplication app(argc, argv);
    const qint64 mib = argc > 1 ? std::max(1, std::atoi(argv[1])) : kAttachmentMiB;
    testsupport::SmtpSink sink(testsupport::SmtpSink::Mode::Accept, false);
    if (!sink.ok()) {
        std::fprintf(stderr, "the mail server could not start (openssl?)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString attachment = dir.filePath(QStringLiteral("příloha.bin"));
    if (!writeAttachment(attachment, mib))
        return 1;

    output::MailConfig config;
    config.method = output::MailConfig::Method::Smtp;
    config.server = QStringLiteral("127.0.0.1");
    config.port = sink.port();
    config.user = QStringLiteral("obchod");
    config.caFile = sink.caFile();
    config.timeoutSeconds = kTimeoutSeconds;
    output::MailSmtpHandOver smtp(
        config, QStringLiteral("obchod@firma.cz"),
        [](core::UserInteraction&) { return std::optional(QStringLiteral("heslo")); });
    output::MailMessage message;
    message.to = QStringLiteral("zakaznik@example.cz");
    message.subject = QStringLiteral("Nabídka s velkou přílohou");
    message.attachments = {attachment};
    core::SilentInteraction ui;

    const double before = peakMemoryMb();
    output::MailResult result;
    const double ms = millisecondsOf([&] { result = smtp.send(message, ui); });
    const double growth = peakMemoryMb() - before;
    if (result.outcome != output::MailOutcome::Sent) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return 1;
    }
    std::printf("%lld MiB attachment, %.1f MB reached the server\n", static_cast<long long>(mib),
                static_cast<double>(sink.received().bytes) / 1e6);
    report("attachment sent to the loopback mail server", ms, kTargetMs);
    report("memory growth while sending", growth, "MB", kMemoryTargetMb);
    return 0;
}
