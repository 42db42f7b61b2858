#include "import/ImportRun.h"

#include "import/AddressBookImport.h"
#include "import/ImportProtocol.h"
#include "import/PriceListImport.h"
#include "import/RunTexts.h"
#include "services/ChangeStamps.h"

namespace orvento::import {

namespace {

using Style = ImportProtocol::Style;

} // namespace

ImportRun::ImportRun(core::Database& agenda, core::UserInteraction& ui, ImportProtocol& protocol)
    : m_agenda(agenda)
    , m_ui(ui)
    , m_protocol(protocol) {}

int ImportRun::execute(const ImportDefinition& definition, const QString& sourceFile) {
    m_interrupted = false;
    m_protocol.clear();
    m_protocol.add(QStringLiteral("Import dat - Start ") + runtext::now() + QStringLiteral(" hod"),
                   Style::Bold);
    m_protocol.add(QString());

    int result = Failed;
    ImportDefinition thisRun = definition;
    thisRun.fileName = sourceFile;
    if (definition.kind == DefinitionKind::PriceList) {
        const services::SuppressedStamps stamps{core::StampedTable::Zasoby,
                                                core::StampedTable::Skupiny};
        PriceListImport run(m_agenda, m_ui, m_protocol, m_opener, m_display);
        result = run.run(thisRun);
        m_interrupted = run.interrupted();
    } else if (definition.kind == DefinitionKind::AddressBook) {
        const services::SuppressedStamps stamps{core::StampedTable::Adresar};
        AddressBookImport run(m_agenda, m_ui, m_protocol, m_opener, m_display);
        result = run.run(thisRun);
        m_interrupted = run.interrupted();
    } else {
        m_protocol.add(QStringLiteral("!CHYBA - tento druh importu zatím není k dispozici"),
                       Style::Red);
    }
    if (result != Ok)
        return result;
    m_protocol.add(QString());
    m_protocol.add(QStringLiteral("Import dat - Dokončeno ") + runtext::now() +
                       QStringLiteral(" hod"),
                   Style::Bold);
    return Ok;
}

} // namespace orvento::import
