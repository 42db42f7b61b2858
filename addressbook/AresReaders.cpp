#include "addressbook/AresReaders.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QXmlStreamReader>

#include <memory>
#include <vector>

namespace orvento::addressbook {

namespace {

AresRecord failed(const QString& error) {
    AresRecord record;
    record.error = error;
    return record;
}

// A JSON member as text: the register writes house numbers and post codes as numbers.
QString jsonText(const QJsonObject& object, const QString& key) {
    const QJsonValue value = object.value(key);
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return QString::number(value.toInteger());
    return {};
}

// The street as the register prints it: the street (else the part of the municipality), the
// house number, and "/" with the orientation number and its letter.
QString jsonStreet(const QJsonObject& seat) {
    QString street = jsonText(seat, QStringLiteral("nazevUlice"));
    if (street.isEmpty())
        street = jsonText(seat, QStringLiteral("nazevCastiObce"));
    const QString house = jsonText(seat, QStringLiteral("cisloDomovni"));
    const QString orientation = jsonText(seat, QStringLiteral("cisloOrientacni")) +
                                jsonText(seat, QStringLiteral("cisloOrientacniPismeno"));
    QString number = house;
    if (!orientation.isEmpty())
        number = house.isEmpty() ? orientation : house + QLatin1Char('/') + orientation;
    if (!number.isEmpty())
        street += QLatin1Char(' ') + number;
    return street;
}

// A small element tree of the XML answer: the register's elements are looked up by their
// qualified names as written, prefix included.
struct XmlElement {
    QString name;
    QString text;
    std::vector<std::unique_ptr<XmlElement>> children;

    const XmlElement* child(const QString& qualifiedName) const {
        for (const auto& c : children)
            if (c->name == qualifiedName)
                return c.get();
        return nullptr;
    }
};

// Reads the element whose start the reader stands on, with everything under it.
std::unique_ptr<XmlElement> readElement(QXmlStreamReader& xml) {
    auto element = std::make_unique<XmlElement>();
    element->name = xml.qualifiedName().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement())
            element->children.push_back(readElement(xml));
        else if (xml.isCharacters())
            element->text += xml.text();
        else if (xml.isEndElement())
            break;
    }
    return element;
}

std::unique_ptr<XmlElement> readDocumentElement(const QByteArray& body) {
    // The answer is UTF-8 whatever its declaration says; a decoded text is read as it is.
    QXmlStreamReader xml(QString::fromUtf8(body));
    // The answer's prefixes are compared as text; an undeclared one is no reason to fail.
    xml.setNamespaceProcessing(false);
    std::unique_ptr<XmlElement> root;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            root = readElement(xml);
            break;
        }
    }
    // Read to the end, so that a broken rest of the document is noticed too.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError())
        return nullptr;
    return root;
}

void takeText(const XmlElement* parent, const QString& name, QString& into) {
    if (!parent)
        return;
    if (const XmlElement* e = parent->child(name))
        into = e->text;
}

} // namespace

AresRecord readAresJson(const QByteArray& body, const QString& ico) {
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return failed(aresUnreadableMessage(ico));
    const QJsonObject firm = document.object();
    // An error answer is an object too, but without the firm's number and name.
    if (!firm.contains(QStringLiteral("ico")) && !firm.contains(QStringLiteral("obchodniJmeno")))
        return failed(aresUnreadableMessage(ico));
    AresRecord record;
    record.ico = jsonText(firm, QStringLiteral("ico"));
    record.name = jsonText(firm, QStringLiteral("obchodniJmeno"));
    const QJsonObject seat = firm.value(QStringLiteral("sidlo")).toObject();
    record.street = jsonStreet(seat);
    record.psc = jsonText(seat, QStringLiteral("psc"));
    record.place = jsonText(seat, QStringLiteral("nazevObce"));
    return record;
}

AresRecord readAresXml(const QByteArray& body, const QString& ico) {
    const std::unique_ptr<XmlElement> root = readDocumentElement(body);
    if (!root)
        return failed(aresUnreadableMessage(ico));
    const XmlElement* answer = root->child(QStringLiteral("are:Odpoved"));
    const XmlElement* count = answer ? answer->child(QStringLiteral("are:Pocet_zaznamu")) : nullptr;
    if (!count)
        return failed(aresUnreadableMessage(ico));
    if (count->text.trimmed() == QLatin1String("0"))
        return failed(aresNotFoundMessage(ico));
    AresRecord record;
    const XmlElement* entry = answer->child(QStringLiteral("are:Zaznam"));
    if (!entry)
        return failed(aresUnreadableMessage(ico));
    takeText(entry, QStringLiteral("are:Obchodni_firma"), record.name);
    takeText(entry, QStringLiteral("are:ICO"), record.ico);
    const XmlElement* identification = entry->child(QStringLiteral("are:Identifikace"));
    const XmlElement* address =
        identification ? identification->child(QStringLiteral("are:Adresa_ARES")) : nullptr;
    if (address) {
        takeText(address, QStringLiteral("dtt:Nazev_ulice"), record.street);
        if (const XmlElement* house = address->child(QStringLiteral("dtt:Cislo_domovni")))
            record.street += QLatin1Char(' ') + house->text;
        else if (const XmlElement* number = address->child(QStringLiteral("dtt:Cislo_do_adresy")))
            record.street += QLatin1Char(' ') + number->text;
        takeText(address, QStringLiteral("dtt:PSC"), record.psc);
        takeText(address, QStringLiteral("dtt:Nazev_obce"), record.place);
    }
    return record;
}

} // namespace orvento::addressbook
