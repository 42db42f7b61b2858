#include "core/Schema.h"

#include "core/Database.h"
#include "core/SqlDialect.h"

#include <QDir>

namespace orvento::core {

namespace {

// Short constructors keep the table lists below readable as a table of names and types.
ColumnDef id() {
    return {QStringLiteral("ID"), ColumnType::Counter, 0};
}
ColumnDef integer(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Integer, 0};
}
ColumnDef dbl(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Double, 0};
}
ColumnDef bit(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Bit, 0};
}
ColumnDef date(const char* name) {
    return {QString::fromLatin1(name), ColumnType::DateTime, 0};
}
ColumnDef text(const char* name, int width) {
    return {QString::fromLatin1(name), ColumnType::Text, width};
}
ColumnDef memo(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Memo, 0};
}
ColumnDef binary(const char* name) {
    return {QString::fromLatin1(name), ColumnType::Binary, 0};
}

TableDef table(const char* name, std::vector<ColumnDef> columns,
               std::vector<IndexDef> indexes = {}) {
    return {QString::fromLatin1(name), std::move(columns), std::move(indexes)};
}

IndexDef indexOn(const char* name, std::initializer_list<const char*> columns) {
    IndexDef def{QString::fromLatin1(name), {}};
    for (const char* c : columns)
        def.columns << QString::fromLatin1(c);
    return def;
}

// A text column indexed in Czech order, so that lists sort and range-scan names by the index.
constexpr const char* kPopisCzech = "Popis COLLATE CZECH";

// Key-value tables share their shape: a numbered value with a description and its text.
constexpr int kDescriptionWidth = 255;
constexpr int kValueWidth = 255;
constexpr int kProfileWidth = 10;

std::vector<TableDef> buildGlobal() {
    return {
        table("Verze", {integer("VerID")}),
        table("KonfigTab", {id(), integer("IDZalohy")}),
        table("Login", {id(),
                        integer("UzivID"),
                        text("Jmeno", 50),
                        text("Konfigurace", kProfileWidth),
                        text("Pwd", 15),
                        bit("Administrator_AR"),
                        integer("Nabidky_AR"),
                        integer("Adresar_AR"),
                        integer("Cenik_AR"),
                        integer("Poznamky_AR"),
                        integer("SeznamAgend_AR"),
                        integer("Import_AR"),
                        bit("HromadnePreceneni_AR"),
                        bit("HromadneNastaveni_AR"),
                        bit("UdajeFirma_AR"),
                        bit("GlobalniNastaveni_AR"),
                        bit("UzivatelskeNastaveni_AR"),
                        bit("VytvoreniZalohy_AR"),
                        bit("ObnoveniZalohy_AR"),
                        bit("NakupniCeny_AR"),
                        bit("Zamky_AR"),
                        bit("VsechnyNabidky_AR"),
                        text("PrefiltrNabidkyVytvorID_AR", 255),
                        text("Telefon", 50),
                        text("Email", 50)}),
        table("Poznamky", {id(), text("Nazev", 50), memo("Detail"), text("Firma", 255),
                           bit("ZobrazOst"), integer("VytvorID"), bit("Vyrizeno")}),
        table("Mista", {id(), text("PSC", 10), text("Misto", 50)},
              {indexOn("MistaPSC", {"PSC"}), indexOn("MistaMisto", {"Misto COLLATE CZECH"})}),
        table("Sestavy", {text("Nazev", 50), text("Soubor", 255), text("Popis", 255),
                          integer("IDModulu"), integer("TypSest")}),
        table("Uzivatelske", {id(), integer("IDHodnoty"), text("Popis", kDescriptionWidth),
                              text("Hodnota", kValueWidth), text("Konfigurace", kProfileWidth)}),
    };
}

std::vector<ColumnDef> zasobyColumns() {
    std::vector<ColumnDef> c = {id(),
                                integer("Sklad"),
                                integer("Skupina"),
                                text("Popis", 50),
                                text("Katalog", 20),
                                text("BarCode", 20),
                                text("PLU", 6),
                                text("Zkratka", 20),
                                text("TextMJ", 10),
                                memo("Poznamka"),
                                dbl("NakCena"),
                                dbl("PrCenaBDPH"),
                                dbl("PrCenaSDPH"),
                                bit("SDPH"),
                                dbl("SazbaDPH"),
                                integer("TypHodnoty"),
                                dbl("Marze"),
                                dbl("Rabat"),
                                integer("Zaok"),
                                bit("Prepocitat"),
                                bit("Nakladova"),
                                text("CenSkupina", 10)};
    for (const char* n : {"1", "2", "3"}) {
        const QByteArray suffix(n);
        c.push_back({QStringLiteral("PrCenaBDPH") + QLatin1String(suffix), ColumnType::Double, 0});
        c.push_back({QStringLiteral("PrCenaSDPH") + QLatin1String(suffix), ColumnType::Double, 0});
        c.push_back({QStringLiteral("SDPH") + QLatin1String(suffix), ColumnType::Bit, 0});
        c.push_back({QStringLiteral("CenHlad") + QLatin1String(suffix), ColumnType::Text, 10});
    }
    for (ColumnDef col : {text("Identif", 255), text("Dostupnost", 1), text("Obrazek", 30),
                          bit("Chyba"), date("Znacka")})
        c.push_back(std::move(col));
    return c;
}

std::vector<TableDef> buildAgenda() {
    return {
        table("Verze", {integer("VerID")}),
        table("Nastaveni", {id(), integer("IDHodnoty"), text("Popis", kDescriptionWidth),
                            text("Hodnota", kValueWidth)}),
        table("ImgData",
              {id(), integer("IDHodnoty"), text("Popis", kDescriptionWidth), binary("Hodnota")}),
        table("CisRady", {id(), text("PrefixOzn", 5), integer("Cislo"), integer("PocetMist"),
                          text("ModulOzn", 10)}),
        table("Uzivatelske", {id(), integer("IDHodnoty"), text("Popis", kDescriptionWidth),
                              text("Hodnota", kValueWidth), text("Konfigurace", kProfileWidth)}),
        table("UzivMemo", {id(), integer("IDHodnoty"), text("Popis", kDescriptionWidth),
                           memo("Hodnota"), text("Konfigurace", kProfileWidth)}),
        table("Filtry", {id(), integer("IDModulu"), text("Nazev", 50),
                         text("Konfigurace", kProfileWidth), memo("Hodnota")}),
        table("Import", {id(), integer("TypOperace"), text("Nazev", 50), text("Popis", 255),
                         memo("Nastaveni")}),
        table("Sklady", {id(), text("Nazev", 30), integer("Poradi")}),
        table("Skupiny",
              {id(), integer("Sklad"), text("Nazev", 50), text("Kod", 10), bit("Zakladni")},
              {indexOn("SkupinySklad", {"Sklad", "Nazev COLLATE CZECH"})}),
        table("Zasoby", zasobyColumns(),
              {indexOn("ZasobySkladPopis", {"Sklad", kPopisCzech}),
               indexOn("ZasobySkupinaPopis", {"Skupina", kPopisCzech}),
               indexOn("ZasobyKatalog", {"Katalog"}), indexOn("ZasobyBarCode", {"BarCode"}),
               indexOn("ZasobyPLU", {"PLU"}), indexOn("ZasobyZkratka", {"Zkratka"})}),
        table("CenHlad",
              {id(), text("Zkratka", 10), text("Popis", 50), dbl("Hodnota"), integer("TypHodnoty"),
               integer("VychCena"), integer("Zaok"), bit("SDPH"), bit("Prepocitat")}),
        table("CenSkup",
              {id(), text("Zkratka", 10), text("Popis", 50), integer("TypHodnoty"), dbl("Marze"),
               dbl("Rabat"), integer("Zaok"), bit("SDPH"), bit("Prepocitat"), bit("Vlastni")}),
        table("CenSkupPol",
              {id(), integer("IDCenSkup"), text("Zkratka", 10), dbl("Hodnota"),
               integer("TypHodnoty"), integer("VychCena"), integer("Zaok"), bit("Prevzato"),
               bit("Prepocitat"), bit("SDPH")},
              {indexOn("CenSkupPolSkupina", {"IDCenSkup"})}),
        table("SezIdentif", {id(), text("Zkratka", 10), text("Popis", 50), bit("Nepouzivat")}),
        table("Adresar",
              {id(), text("Nazev", 50), text("Ulice", 30), text("Psc", 10), text("Misto", 40),
               text("Stat", 20), text("ICO", 10), text("DIC", 20), text("Telefon", 30),
               text("Fax", 30), text("Email", 50), text("WWW", 50), memo("Poznamka"),
               text("EANKod", 20), text("Zprava", 255), text("CenHladina", 10), date("Znacka")},
              {indexOn("AdresarNazev", {"Nazev COLLATE CZECH"})}),
        table("Kontakty",
              {id(), integer("CisloAdr"), text("TitulPred", 15), text("TitulZa", 20),
               text("Prijmeni", 30), text("Jmeno", 20), text("Ulice", 30), text("PSC", 10),
               text("Misto", 40), text("Telefon", 30), text("Mobil", 30), text("Email", 50),
               memo("Poznamka"), text("Funkce", 35), bit("Zobrazit")},
              {indexOn("KontaktyFirma", {"CisloAdr"})}),
        table("Dokumenty", {id(), integer("CisloAdr"), text("Popis", 50), text("Soubor", 255)},
              {indexOn("DokumentyFirma", {"CisloAdr"})}),
        table("Nabidky",
              {id(),
               text("Doklad", 10),
               text("Popis", 50),
               text("Nadpis", 50),
               memo("TextPred"),
               memo("TextZa"),
               memo("Poznamka"),
               text("ZpPlatby", 20),
               text("Doprava", 20),
               date("DatVystaveni"),
               date("DatPlatnosti"),
               date("DatVyrizeni"),
               integer("AdrCislo"),
               text("AdrNazev", 50),
               text("AdrUlice", 30),
               text("AdrPsc", 10),
               text("AdrMisto", 40),
               text("AdrICO", 10),
               text("AdrDIC", 20),
               text("AdrKontakt", 85),
               integer("IDStav"),
               dbl("SazDPHZakl"),
               dbl("SazDPHSniz"),
               integer("NabZaok"),
               dbl("Celkem"),
               dbl("CelkemBDPH"),
               dbl("CelkemNC"),
               dbl("Zisk"),
               bit("CenHladAdr"),
               text("CenHladina", 10),
               integer("VytvorID"),
               integer("UpravID"),
               text("Vytvoril", 50),
               bit("Zamek")},
              {indexOn("NabidkyDoklad", {"Doklad"}), indexOn("NabidkyOdberatel", {"AdrCislo"})}),
        table("NabPolozky",
              {id(),
               integer("CisloNab"),
               integer("Poradi"),
               integer("CisloKarty"),
               integer("CisloSkladu"),
               integer("CisloSkup"),
               text("Popis", 50),
               text("Katalog", 20),
               text("BarCode", 20),
               text("PLU", 6),
               text("Zkratka", 20),
               text("MJ", 10),
               memo("Poznamka"),
               dbl("PocetMJ"),
               dbl("ProdCena"),
               dbl("ProdCenaPo"),
               bit("SDPH"),
               dbl("SazbaDPH"),
               dbl("Sleva"),
               dbl("Marze"),
               dbl("Rabat"),
               dbl("NakCena"),
               dbl("PCBDPHMJ"),
               dbl("PCSDPHMJ"),
               dbl("PCBDPHPOL"),
               dbl("PCSDPHPOL"),
               dbl("VyseDPHMJ"),
               dbl("VyseDPHPol"),
               dbl("ZiskMJ"),
               dbl("ZiskPol"),
               integer("Zaok"),
               bit("Nakladova"),
               text("CenHladina", 10),
               bit("IgnorHr"),
               text("Identif", 255),
               bit("Nadpisova"),
               bit("Textova")},
              {indexOn("NabPolozkyNabidka", {"CisloNab", "Poradi"})}),
        table("DokumentyNab", {id(), integer("CisloNab"), text("Popis", 50), text("Soubor", 255)},
              {indexOn("DokumentyNabNabidka", {"CisloNab"})}),
        table("NabSablony", {id(), text("Zkratka", 10), text("Nazev", 50), text("Nadpis", 50),
                             memo("TextPred"), memo("TextZa")}),
        table("Akce",
              {id(), integer("ObjectType"), integer("ObjectID"), integer("ActionType"),
               integer("UserID"), text("UserName", 50), date("ActionDate"),
               text("Description", 255), memo("ActionData1"), memo("ActionData2")},
              {{QStringLiteral("ObjectTypeAndID"),
                {QStringLiteral("ObjectType"), QStringLiteral("ObjectID")}}}),
    };
}

} // namespace

const ColumnDef* TableDef::column(const QString& columnName) const {
    for (const ColumnDef& c : columns) {
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const std::vector<TableDef>& schemaOf(DatabaseKind kind) {
    static const std::vector<TableDef> global = buildGlobal();
    static const std::vector<TableDef> agenda = buildAgenda();
    return kind == DatabaseKind::Global ? global : agenda;
}

const TableDef* findTable(DatabaseKind kind, const QString& tableName) {
    for (const TableDef& t : schemaOf(kind)) {
        if (t.name.compare(tableName, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

int currentSchemaVersion(DatabaseKind kind) {
    return kind == DatabaseKind::Global ? 4 : 8;
}

int applicationIdOf(DatabaseKind kind) {
    return sqliteDialect().kindMarkOf(kind);
}

QString columnSql(const ColumnDef& column) {
    return columnSql(column, sqliteDialect());
}

QString columnSql(const ColumnDef& column, const SqlDialect& dialect) {
    return column.name + QLatin1Char(' ') + dialect.columnTypeSql(column.type);
}

QString createTableSql(const TableDef& t) {
    return createTableSql(t, sqliteDialect());
}

QString createTableSql(const TableDef& t, const SqlDialect& dialect) {
    QStringList parts;
    for (const ColumnDef& c : t.columns)
        parts << columnSql(c, dialect);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(t.name, parts.join(QStringLiteral(", "))) +
           dialect.tableOptionsSql();
}

QString createIndexSql(const TableDef& t, const IndexDef& index) {
    return createIndexSql(t, index, sqliteDialect());
}

QString createIndexSql(const TableDef& t, const IndexDef& index, const SqlDialect& dialect) {
    // A column given as "Name COLLATE X" is written as it stands.
    QStringList columns = index.columns;
    const ColumnDef* id = t.column(QStringLiteral("ID"));
    if (!dialect.indexesEndInRowId() && id && id->type == ColumnType::Counter &&
        !columns.contains(id->name, Qt::CaseInsensitive))
        columns << id->name;
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(index.name, t.name, columns.join(QStringLiteral(", ")));
}

QString addColumnSql(const QString& tableName, const ColumnDef& column) {
    return addColumnSql(tableName, column, sqliteDialect());
}

QString addColumnSql(const QString& tableName, const ColumnDef& column, const SqlDialect& dialect) {
    return QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
        .arg(tableName, columnSql(column, dialect));
}

bool createSchema(Database& db, DatabaseKind kind) {
    Transaction tx(db);
    if (!tx.isActive())
        return false;
    for (const TableDef& t : schemaOf(kind)) {
        if (!db.executeDdl(createTableSql(t, db.dialect())))
            return false;
        for (const IndexDef& index : t.indexes) {
            if (!db.executeDdl(createIndexSql(t, index, db.dialect())))
                return false;
        }
    }
    if (!db.execute(QStringLiteral("INSERT INTO Verze (VerID) VALUES (:VerID)"),
                    {{QStringLiteral("VerID"), currentSchemaVersion(kind)}}))
        return false;
    if (kind == DatabaseKind::Global &&
        !db.execute(QStringLiteral("INSERT INTO KonfigTab (IDZalohy) VALUES (:IDZalohy)"),
                    {{QStringLiteral("IDZalohy"), 1}}))
        return false;
    if (!db.dialect().writeKindMark(db, kind) ||
        !db.dialect().writeVersionMark(db, currentSchemaVersion(kind)))
        return false;
    return tx.commit();
}

std::optional<int> applicationIdOfOpen(Database& db) {
    return db.dialect().readKindMark(db);
}

OpenProblem problemOf(const Database& db) {
    return db.lastFailureKind() == FailureKind::Damaged ? OpenProblem::Damaged : OpenProblem::Other;
}

bool openAsKind(Database& db, const QString& path, DatabaseKind kind, QString* reason,
                OpenProblem* problem) {
    if (!db.open(path)) {
        if (reason)
            *reason = db.lastError();
        if (problem)
            *problem = problemOf(db);
        return false;
    }
    if (applicationIdOfOpen(db) != db.dialect().kindMarkOf(kind)) {
        db.close();
        if (reason)
            *reason = (kind == DatabaseKind::Global
                           ? QStringLiteral("Soubor %1 není hlavní databází programu.")
                           : QStringLiteral("Soubor %1 není databází agendy."))
                          .arg(QDir::toNativeSeparators(path));
        if (problem)
            *problem = OpenProblem::WrongKind;
        return false;
    }
    if (problem)
        *problem = OpenProblem::None;
    return true;
}

QString unusableDatabaseMessage(DatabaseKind kind, const QString& agenda, const QString& path,
                                OpenProblem problem, const QString& reason) {
    const bool global = kind == DatabaseKind::Global;
    const QString file = QDir::toNativeSeparators(path);
    QString text =
        global ? QStringLiteral("Hlavní databázi programu (soubor %1) nelze otevřít: ").arg(file)
               : QStringLiteral("Databázi firmy %1 (soubor %2) nelze otevřít: ").arg(agenda, file);
    switch (problem) {
    case OpenProblem::Damaged:
        text += QStringLiteral("soubor je poškozený (je neúplný nebo přepsaný jinými daty).");
        break;
    case OpenProblem::WrongKind:
        text += global ? QStringLiteral("soubor není hlavní databází programu.")
                       : QStringLiteral("soubor není databází firmy.");
        break;
    case OpenProblem::Refused:
        text += QStringLiteral("databázový server ji odmítl otevřít.");
        break;
    case OpenProblem::None:
    case OpenProblem::Other:
        text += QStringLiteral("databázový soubor se nepodařilo přečíst.");
        break;
    }
    // The wrong kind's reason is our own sentence; the others are the database layer's words.
    if (problem != OpenProblem::WrongKind && !reason.trimmed().isEmpty())
        text += QStringLiteral("\n\nPopis chyby: ") + reason.trimmed();
    return text;
}

bool writeSchemaVersion(Database& db, int version) {
    if (!db.execute(QStringLiteral("UPDATE Verze SET VerID = :VerID"),
                    {{QStringLiteral("VerID"), version}}))
        return false;
    return db.dialect().writeVersionMark(db, version);
}

} // namespace orvento::core
