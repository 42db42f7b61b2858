#include "import/DefinitionList.h"

#include "catalogue/CatalogueRecords.h"
#include "core/AppContext.h"
#include "core/Database.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "import/MoneyImportSettings.h"
#include "services/AccessRights.h"
#include "services/RecordLock.h"
#include "services/RecordRefresh.h"

#include <algorithm>

namespace orvento::import {

DefinitionList::DefinitionList(core::AppContext& context)
    : m_context(context)
    , m_store(context.db().agenda) {}

bool DefinitionList::reload(qint64 locate) {
    QString error;
    auto rows = m_store.list(error);
    if (!rows) {
        m_context.ui().error(error);
        return false;
    }
    m_rows = std::move(*rows);
    m_current = catalogue::indexOfId(m_rows, locate);
    if (!m_current && !m_rows.empty())
        m_current = 0;
    return true;
}

void DefinitionList::setCurrentIndex(std::size_t index) {
    if (index < m_rows.size())
        m_current = index;
}

std::optional<qint64> DefinitionList::currentId() const {
    if (!m_current)
        return std::nullopt;
    return m_rows[*m_current].id;
}

QString DefinitionList::currentDescription() const {
    return m_current ? m_rows[*m_current].description : QString();
}

bool DefinitionList::refreshCurrent(qint64& id) {
    const auto current = currentId();
    if (!current)
        return false;
    id = *current;
    if (!reload(id))
        return false;
    if (currentId() != id) {
        m_context.ui().warning(services::recordGoneMessage());
        return false;
    }
    return true;
}

std::unique_ptr<DefinitionEditor> DefinitionList::openNew(DefinitionKind kind) {
    auto editor = std::make_unique<DefinitionEditor>(m_context);
    if (!editor->start(EditMode::New, kind))
        return nullptr;
    return editor;
}

std::unique_ptr<DefinitionEditor> DefinitionList::openCurrent(EditMode mode) {
    if (!currentId())
        return nullptr;
    const services::Module module = services::Module::Import;
    // The rights come before the list is read again, as with every command.
    if (mode == EditMode::Copy &&
        !services::allows(services::moduleLevel(core::programState().user, module),
                          services::ModuleAction::Create)) {
        services::showNoRights(m_context.ui());
        return nullptr;
    }
    if (mode == EditMode::Edit &&
        services::recordAccess(services::moduleLevel(core::programState().user, module)) ==
            services::RecordAccess::Denied) {
        services::showNoRights(m_context.ui());
        return nullptr;
    }
    qint64 id = 0;
    if (!refreshCurrent(id))
        return nullptr;
    auto editor = std::make_unique<DefinitionEditor>(m_context);
    if (!editor->start(mode, m_rows[*m_current].kind, id))
        return nullptr;
    return editor;
}

void DefinitionList::afterSave(const DefinitionEditor& editor) {
    const qint64 id = editor.savedId();
    if (!reload(id))
        return;
    if (currentId() != id)
        m_context.ui().error(core::newRowNotFoundMessage());
}

bool DefinitionList::offersMoneyDefinition() const {
    return std::none_of(m_rows.begin(), m_rows.end(), [](const DefinitionListRow& row) {
        return row.kind == DefinitionKind::Money;
    });
}

bool DefinitionList::addMoneyDefinition() {
    core::UserInteraction& ui = m_context.ui();
    if (!services::checkModule(services::Module::Import, services::ModuleAction::Create, ui))
        return false;
    if (!reload(currentId().value_or(0)))
        return false;
    if (!offersMoneyDefinition()) {
        const auto money = std::find_if(m_rows.begin(), m_rows.end(), [](const auto& row) {
            return row.kind == DefinitionKind::Money;
        });
        m_current = static_cast<std::size_t>(money - m_rows.begin());
        return false;
    }
    QString error;
    const auto id = m_store.insert(newMoneyDefinition(), error);
    if (!id) {
        ui.error(error);
        return false;
    }
    if (reload(*id) && currentId() != id)
        ui.error(core::newRowNotFoundMessage());
    return true;
}

bool DefinitionList::removeCurrent() {
    if (!currentId())
        return false;
    core::UserInteraction& ui = m_context.ui();
    if (!services::checkModule(services::Module::Import, services::ModuleAction::Delete, ui))
        return false;
    qint64 id = 0;
    if (!refreshCurrent(id))
        return false;
    if (!services::mayDeleteRecord(QStringLiteral("Import"), id, ui, services::LockScope::Global))
        return false;
    if (!ui.question(deleteQuestion()))
        return false;
    const qint64 next = catalogue::neighbourId(m_rows, *m_current);
    QString error;
    if (!m_store.remove(id, error)) {
        ui.error(error);
        return false;
    }
    reload(next);
    return true;
}

} // namespace orvento::import
