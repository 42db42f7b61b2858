#include "services/MemTableText.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include <gtest/gtest.h>

using namespace orvento;
using services::MemFieldType;
using services::MemTable;

namespace {

// Switches the program's default locale for one test.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale)
        : m_previous(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

MemTable sampleTable() {
    MemTable t;
    t.addField(QStringLiteral("ID"), MemFieldType::Integer);
    t.addField(QStringLiteral("Popis"), MemFieldType::String, 50);
    t.addField(QStringLiteral("Cena"), MemFieldType::Float);
    t.addField(QStringLiteral("SDPH"), MemFieldType::Boolean);
    t.addField(QStringLiteral("DatVystaveni"), MemFieldType::Date);
    t.addField(QStringLiteral("Zmeneno"), MemFieldType::DateTime);
    t.addField(QStringLiteral("TextPred"), MemFieldType::Memo);
    t.fields[1].displayName = QStringLiteral("Popis \"položky\"");
    t.fields[1].required = true;
    t.fields[2].readOnly = true;
    t.fields[2].editMask = QStringLiteral("#,##0.00");
    t.fields[2].displayWidth = 12;
    t.fields[2].defaultExpression = QStringLiteral("0");
    t.appendRow() = {qlonglong(1),
                     QStringLiteral("Šroub, \"M6\" 50%"),
                     1234.5678,
                     true,
                     QDate(2024, 12, 24),
                     QDateTime(QDate(2024, 1, 2), QTime(13, 45, 6)),
                     QStringLiteral("řádek 1\r\nřádek 2\n%n je text") + QChar(u'\0') +
                         QStringLiteral("konec")};
    t.appendRow() = {qlonglong(-2), QString(), -0.1, false, QVariant(), QVariant(), QVariant()};
    t.rows[1][6] = QString(QStringLiteral("a")) + QChar(u'\0') + QStringLiteral("b");
    return t;
}

TEST(MemTableText, RoundTripsEveryTypeUnderCzechSettings) {
    LocaleScope czech(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const MemTable original = sampleTable();
    const QString text = services::writeMemTable(original, true);

    EXPECT_TRUE(text.startsWith(QStringLiteral("\"@@FILE VERSION@@\",\"251\"\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"1234.5678\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"-0.1\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"24/12/2024\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"True\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("%c%n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Šroub, \"\"M6\"\" 50%%\"")));
    // NULL is written as nothing at all.
    EXPECT_TRUE(text.contains(QStringLiteral("\"False\",,,\"a%0b\"\r\n")));

    const auto back = services::readMemTable(text);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->fields.size(), original.fields.size());
    for (size_t i = 0; i < original.fields.size(); ++i) {
        EXPECT_EQ(back->fields[i].name, original.fields[i].name);
        EXPECT_EQ(back->fields[i].type, original.fields[i].type);
        EXPECT_EQ(back->fields[i].size, original.fields[i].size);
        EXPECT_EQ(back->fields[i].displayName, original.fields[i].displayName);
        EXPECT_EQ(back->fields[i].editMask, original.fields[i].editMask);
        EXPECT_EQ(back->fields[i].displayWidth, original.fields[i].displayWidth);
        EXPECT_EQ(back->fields[i].required, original.fields[i].required);
        EXPECT_EQ(back->fields[i].readOnly, original.fields[i].readOnly);
        EXPECT_EQ(back->fields[i].defaultExpression, original.fields[i].defaultExpression);
    }
    ASSERT_EQ(back->rows.size(), 2u);
    for (size_t r = 0; r < 2; ++r)
        for (size_t c = 0; c < original.fields.size(); ++c)
            EXPECT_EQ(back->rows[r][c], original.rows[r][c]) << r << "," << c;
    EXPECT_FALSE(back->rows[1][4].isValid());
    EXPECT_EQ(back->rows[1][1], QVariant(QString())); // empty, not NULL
}

TEST(MemTableText, WithoutDefinitionsHeaderAndRowsReadAsTexts) {
    MemTable t;
    t.addField(QStringLiteral("FieldName"), MemFieldType::String);
    t.addField(QStringLiteral("Width"), MemFieldType::Integer);
    t.appendRow() = {QStringLiteral("Popis"), 301};
    t.appendRow() = {QStringLiteral("Kód"), QVariant()};
    const QString text = services::writeMemTable(t, false);
    EXPECT_EQ(text, QStringLiteral("\"@@FILE VERSION@@\",\"251\"\r\n\"FieldName\",\"Width\"\r\n"
                                   "\"Popis\",\"301\"\r\n\"Kód\",\r\n"));
    const auto back = services::readMemTable(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->fieldIndex(QStringLiteral("width")), 1);
    EXPECT_EQ(back->rows[0][1], QVariant(QStringLiteral("301")));
    EXPECT_FALSE(back->rows[1][1].isValid());
    // A bare header-and-rows text, as with LF only, reads the same.
    const auto bare =
        services::readMemTable(QStringLiteral("\"FieldName\",\"Width\"\n\"Popis\",\"5\""));
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bare->rows.size(), 1u);
}

TEST(MemTableText, DamagedTextIsRejected) {
    const QString good = services::writeMemTable(sampleTable(), true);
    QString wrongCount = good;
    wrongCount.replace(QStringLiteral("\"False\",,,"), QStringLiteral("\"False\",,"));
    QString badNumber = good;
    badNumber.replace(QStringLiteral("\"1234.5678\""), QStringLiteral("\"12x\""));
    QString badBool = good;
    badBool.replace(QStringLiteral("\"True\""), QStringLiteral("\"Ano\""));
    QString badDate = good;
    badDate.replace(QStringLiteral("24/12/2024"), QStringLiteral("31/02/2024"));
    const QString cases[] = {
        QString(),
        QStringLiteral("nesmysl \"bez konce"),
        good.left(good.indexOf(QStringLiteral("@@TABLEDEF END@@"))),
        wrongCount,
        badNumber,
        badBool,
        badDate,
        QStringLiteral("\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n\"X=Blob,1\"\r\n"
                       "\"@@TABLEDEF END@@\"\r\n\"X\"\r\n"),
    };
    for (const QString& text : cases)
        EXPECT_FALSE(services::readMemTable(text).has_value()) << text.toStdString();
}

} // namespace
