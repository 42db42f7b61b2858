#pragma once

#include "output/ReportData.h"
#include "output/XmlExport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace orvento::core {
class ProgressScope;
class UserInteraction;
} // namespace orvento::core

namespace orvento::output {

// Starts a program without waiting for it; false when it could not be started.
using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments)>;

// The profile value numbers of one export kind's remembered dialog values.
struct XmlExportValues {
    int file = 0;
    int program = 0;
    int runProgram = 0;
    int passFile = 0;
};
XmlExportValues xmlExportValues(xml_export::Kind kind);

// The logic of the XML export dialog (frmExpXML, "Export do XML"): the export file, the external
// program to start afterwards with or without the file, the checks of "OK", the export and the
// remembered values. The records are given by ID: the offers in the order they are written (the
// offer list gives its marked ones last first), the firms in the list's order.
class XmlExportLogic {
public:
    XmlExportLogic(const ReportContext& context, core::UserInteraction& ui, xml_export::Kind kind,
                   std::vector<qint64> ids, ProgramStarter starter = {});

    static QString caption() { return QStringLiteral("Export do XML"); }
    static QString helpTopic() { return QStringLiteral("pgXMLExport.htm"); }
    static QString explanation();
    static QString waitText() { return QStringLiteral("Probíhá export do XML\rprosím čekejte..."); }

    xml_export::Kind kind() const { return m_kind; }
    const std::vector<qint64>& ids() const { return m_ids; }

    // The dialog's fields, filled from the remembered values on construction.
    QString file;
    QString program;
    bool runProgram = false;
    bool passFile = false;

    // The program field, its button and the parameter box are usable only with `runProgram`.
    bool programEnabled() const { return runProgram; }

    // The "..." buttons: the chosen path goes into the field.
    void chooseFile();
    void chooseProgram();

    // "OK": the checks, the export, the external program and the remembered values. True when
    // the export was written and the dialog closes.
    bool accept();

    // Writes the export file of the kind; false after the error message.
    bool write(const QString& path);

private:
    QByteArray offerFile(const QDateTime& at, core::ProgressScope& progress);
    QByteArray addressFile(const QDateTime& at);
    void startProgram(const QString& exported);
    void remember();

    ReportContext m_context;
    core::UserInteraction& m_ui;
    xml_export::Kind m_kind;
    std::vector<qint64> m_ids;
    ProgramStarter m_starter;
};

// The message of a file that could not be saved, with the system's reason.
QString xmlSaveFailedMessage(const QString& reason);
// The message of an external program that could not be started.
QString programNotStartedMessage(const QString& program);

} // namespace orvento::output
