#pragma once

#include <QString>

namespace orvento::core {

class UserInteraction;

// Small requests to the desktop: open an address, a mail link or a document with the program the
// desktop associates with it. None of them waits for the opened program.
namespace shell {

// Result of handing a document to the desktop.
enum class OpenResult { Opened, NoAssociatedProgram, Failed };
// The code the desktop reports when no program is associated with a file type.
inline constexpr int kNoAssociationCode = 31;

// Puts "http://" in front when the text has no scheme, then opens the address.
void openWebAddress(const QString& text);
QString webAddressFor(const QString& text);
void openMailLink(const QString& address);
// Opens a file; says "Soubor <path> neexistuje!" or "Se souborem <path> není asociován žádný
// program." where that is what happened.
void openFile(const QString& path, UserInteraction& ui);
// Opens a file and reports the outcome without any message; callers show their own.
OpenResult runDocument(const QString& path);
int runDocumentCode(const QString& path);

// The file name without its folder, every '.' replaced by '#'.
QString fileNameAsKey(const QString& path);
// The file name without its folder and without its extension.
QString bareFileName(const QString& path);
// A new GUID in braces.
QString newIdentifier();
// Copies every file matching the pattern (`folder/*.*`, `folder/*.rpo`) into the target folder,
// overwriting without asking. A missing source folder or a failed copy gives false.
bool copyFiles(const QString& sourcePattern, const QString& targetFolder);

} // namespace shell
} // namespace orvento::core
