#pragma once

#include <QString>

#include <optional>

namespace orvento::output {

// The folder of one message's files in the user's cache folder (mode 0700). It is not the print
// window's work folder: a compose window may still read the files after the print window closed,
// so each message keeps its own folder, and the folders of messages older than a week are
// removed when the next one is made.
class MailFolder {
public:
    static constexpr int kKeepDays = 7;

    // A new folder under `root` (the cache folder's "mail" when empty); nothing when it cannot
    // be made.
    static std::optional<MailFolder> create(const QString& root = QString());
    // The parent folder of all messages' folders.
    static QString defaultRoot();
    // Removes the message folders under `root` last changed more than kKeepDays ago.
    static void removeOld(const QString& root);

    // With a trailing '/'.
    const QString& path() const { return m_path; }
    // A copy of `file` in this folder under a name without "," and "'", which some compose
    // syntaxes take apart; the file's own path when its name has neither; empty when the copy
    // failed.
    QString safeName(const QString& file) const;

private:
    explicit MailFolder(QString path)
        : m_path(std::move(path)) {}
    QString m_path;
};

} // namespace orvento::output
