#include "core/CzechCollation.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <cstdint>
#include <sqlite3.h>

namespace orvento::core {

namespace {

// The weights of one collation element (a character, or the letter "ch").
struct Element {
    std::uint32_t primary = 0;
    std::uint16_t secondary = 0;
    std::uint8_t tertiary = 0;
    char32_t codePoint = 0;
};

struct CharInfo {
    std::uint32_t primary = 0;
    std::uint16_t secondary = 0;
    std::uint8_t tertiary = 0;
    bool isC = false; // may start the letter "ch"
};

constexpr std::uint32_t kSeparatorBase = 0x100;    // spaces, punctuation, symbols
constexpr std::uint32_t kDigitBase = 0x1000;       // 0-9
constexpr std::uint32_t kLetterBase = 0x2000;      // the Czech alphabet
constexpr std::uint32_t kOtherLetterBase = 0x3000; // letters of other scripts, by code point

// The Czech alphabet in order; "ch" sits between "h" and "i".
constexpr std::u32string_view kAlphabet = U"abcčdefghHijklmnopqrřsštuvwxyzž";
constexpr char32_t kChMarker = U'H';

std::uint32_t letterPrimary(char32_t lowerLetter) {
    const auto at = kAlphabet.find(lowerLetter);
    return kLetterBase + static_cast<std::uint32_t>(at) * 2;
}

// Accents in the order Czech dictionaries use them: none, acute, caron, ring, then the rest.
std::uint16_t accentRank(char32_t mark) {
    switch (mark) {
    case 0x301:
        return 1; // acute
    case 0x30C:
        return 2; // caron
    case 0x30A:
        return 3; // ring
    case 0x300:
        return 4; // grave
    case 0x302:
        return 5; // circumflex
    case 0x308:
        return 6; // diaeresis
    case 0x303:
        return 7; // tilde
    case 0x327:
        return 8; // cedilla
    default:
        return static_cast<std::uint16_t>(16 + (mark & 0xFFF));
    }
}

CharInfo computeInfo(char32_t c) {
    CharInfo info;
    if (c >= U'0' && c <= U'9') {
        info.primary = kDigitBase + static_cast<std::uint32_t>(c - U'0');
        return info;
    }
    if (!QChar::isLetter(c)) {
        info.primary = kSeparatorBase + (c < 0xE00 ? static_cast<std::uint32_t>(c) : 0xE00);
        return info;
    }
    info.tertiary = QChar::isUpper(c) ? 1 : 0;
    const char32_t lower = QChar::toLower(c);
    char32_t base = lower;
    char32_t mark = 0;
    if (lower >= 0x80) {
        const QString decomposed = QChar::decomposition(lower);
        if (QChar::decompositionTag(lower) == QChar::Canonical && decomposed.size() == 2 &&
            decomposed.at(0).unicode() < 0x80) {
            base = decomposed.at(0).unicode();
            mark = decomposed.at(1).unicode();
        }
    }
    const bool czechLetter =
        mark == 0x30C && (base == U'c' || base == U'r' || base == U's' || base == U'z');
    if (czechLetter) {
        info.primary = letterPrimary(lower);
    } else if (base >= U'a' && base <= U'z') {
        info.primary = letterPrimary(base);
        info.secondary = mark == 0 ? 0 : accentRank(mark);
        info.isC = lower == U'c';
    } else {
        info.primary = kOtherLetterBase + static_cast<std::uint32_t>(lower);
    }
    return info;
}

// Latin letters and everything below them come from a table; the rest is computed.
constexpr char32_t kTableSize = 0x250;

// Filled when the program loads, so that a comparison never waits on a first-use guard.
const std::array<CharInfo, kTableSize> kInfoTable = [] {
    std::array<CharInfo, kTableSize> t{};
    for (char32_t c = 0; c < kTableSize; ++c)
        t[c] = computeInfo(c);
    return t;
}();

CharInfo infoOf(char32_t c) {
    return c < kTableSize ? kInfoTable[c] : computeInfo(c);
}

// Reads code points from UTF-8 bytes as SQLite hands them over; a broken sequence reads as
// U+FFFD, one byte at a time.
class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view text)
        : m_p(reinterpret_cast<const unsigned char*>(text.data()))
        , m_end(m_p + text.size()) {}
    bool atEnd() const { return m_p == m_end; }
    char32_t next() {
        const unsigned char lead = *m_p++;
        if (lead < 0x80)
            return lead;
        int extra = 0;
        char32_t value = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            value = lead & 0x07;
        } else {
            return 0xFFFD;
        }
        for (int i = 0; i < extra; ++i) {
            if (m_p == m_end || (*m_p & 0xC0) != 0x80)
                return 0xFFFD;
            value = (value << 6) | (*m_p++ & 0x3F);
        }
        return value;
    }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
};

class Utf16Reader {
public:
    explicit Utf16Reader(const QString& text)
        : m_p(reinterpret_cast<const char16_t*>(text.utf16()))
        , m_end(m_p + text.size()) {}
    bool atEnd() const { return m_p == m_end; }
    char32_t next() {
        const char16_t unit = *m_p++;
        if (QChar::isHighSurrogate(unit) && m_p != m_end && QChar::isLowSurrogate(*m_p))
            return QChar::surrogateToUcs4(unit, *m_p++);
        return unit;
    }

private:
    const char16_t* m_p;
    const char16_t* m_end;
};

template <class Reader> bool nextElement(Reader& reader, Element& element) {
    if (reader.atEnd())
        return false;
    const char32_t c = reader.next();
    const CharInfo info = infoOf(c);
    if (info.isC && info.secondary == 0 && !reader.atEnd()) {
        Reader peek = reader;
        const char32_t h = peek.next();
        if (h == U'h' || h == U'H') {
            reader = peek;
            element = {letterPrimary(kChMarker), 0,
                       static_cast<std::uint8_t>(info.tertiary * 2 + (h == U'H' ? 1 : 0)), c};
            return true;
        }
    }
    element = {info.primary, info.secondary, info.tertiary, c};
    return true;
}

std::uint32_t weightAt(const Element& e, int level) {
    switch (level) {
    case 0:
        return e.primary;
    case 1:
        return e.secondary;
    case 2:
        return e.tertiary;
    default:
        return e.codePoint;
    }
}

template <class Reader> int compareWith(const Reader& left, const Reader& right) {
    for (int level = 0; level < 4; ++level) {
        Reader a = left;
        Reader b = right;
        Element ea;
        Element eb;
        for (;;) {
            const bool hasA = nextElement(a, ea);
            const bool hasB = nextElement(b, eb);
            if (!hasA || !hasB) {
                if (hasA != hasB)
                    return hasA ? 1 : -1;
                break;
            }
            const std::uint32_t wa = weightAt(ea, level);
            const std::uint32_t wb = weightAt(eb, level);
            if (wa != wb)
                return wa < wb ? -1 : 1;
        }
    }
    return 0;
}

int compareUtf8(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareCzechUtf8(
        std::string_view(static_cast<const char*>(a), static_cast<size_t>(lengthA)),
        std::string_view(static_cast<const char*>(b), static_cast<size_t>(lengthB)));
}

void findFunction(sqlite3_context* context, int count, sqlite3_value** values) {
    if (count != 2 || sqlite3_value_type(values[0]) == SQLITE_NULL ||
        sqlite3_value_type(values[1]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    auto textOf = [](sqlite3_value* value) {
        const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
        return QString::fromUtf8(bytes, sqlite3_value_bytes(value));
    };
    sqlite3_result_int64(context, findIgnoringCase(textOf(values[0]), textOf(values[1])));
}

} // namespace

qsizetype findIgnoringCase(const QString& text, const QString& part) {
    return text.indexOf(part, 0, Qt::CaseInsensitive) + 1;
}

int compareCzech(const QString& a, const QString& b) {
    return compareWith(Utf16Reader(a), Utf16Reader(b));
}

int compareCzechUtf8(std::string_view a, std::string_view b) {
    // Names in one list often share their beginning ("Šroub M6 ..."); a common beginning gives the
    // same elements on every level, so the comparison starts after it. The cut goes back to the
    // start of a character, and before a "c" that might begin "ch" with what follows.
    const size_t shorter = std::min(a.size(), b.size());
    size_t common = 0;
    while (common < shorter && a[common] == b[common])
        ++common;
    auto continues = [](std::string_view text, size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    while (common > 0 && (continues(a, common) || continues(b, common)))
        --common;
    if (common > 0 && (a[common - 1] == 'c' || a[common - 1] == 'C'))
        --common;
    return compareWith(Utf8Reader(a.substr(common)), Utf8Reader(b.substr(common)));
}

bool registerCzechCollation(sqlite3* handle) {
    if (handle == nullptr)
        return false;
    return sqlite3_create_collation_v2(handle, kCzechCollationName, SQLITE_UTF8, nullptr,
                                       compareUtf8, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(handle, kCzechFindName, 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                      nullptr, findFunction, nullptr, nullptr,
                                      nullptr) == SQLITE_OK;
}

} // namespace orvento::core
