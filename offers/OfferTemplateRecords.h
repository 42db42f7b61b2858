#pragma once

#include "core/RecordMapping.h"

#include <QString>

#include <optional>
#include <vector>

namespace orvento::core {
class Database;
}

namespace orvento::offers {

struct OfferHeader;

inline constexpr int kTemplateCodeLength = 10;
inline constexpr int kTemplateNameLength = 50;
inline constexpr int kTemplateTitleLength = 50;

// One offer template (`NabSablony`): the texts before and after the items and the title an
// offer takes over, under a short abbreviation. Both texts are stored RTF.
struct OfferTemplate {
    qint64 ID = -1;
    QString Zkratka;
    QString Nazev;
    QString TextPred;
    QString TextZa;
    QString Nadpis;
};

const core::RecordMapping<OfferTemplate>& templateMapping();

// The name column of the template list, as catalogue::CodedRowList sorts and finds by it.
inline const QString& codedRowName(const OfferTemplate& row) {
    return row.Nazev;
}

// Abbreviations are stored as typed (trimmed) and compared ignoring letter case in every
// alphabet: the engine folds ASCII only, so the comparison is made here, never in SQL.
bool sameTemplateCode(const QString& a, const QString& b);
QString trimmedTemplateCode(const QString& typed);

// The whole table; nothing when it cannot be read.
std::optional<std::vector<OfferTemplate>> readTemplates(core::Database& db);
std::optional<OfferTemplate> templateById(core::Database& db, qint64 id);
// The template of this abbreviation, ignoring letter case; none for an empty abbreviation.
std::optional<OfferTemplate> templateByCode(core::Database& db, const QString& code);

// What an offer takes over from a template: both texts and the title, also when they are empty
// (an empty title is saved as the default one).
void applyTemplate(const OfferTemplate& from, OfferHeader& to);

} // namespace orvento::offers
