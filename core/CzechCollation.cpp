#include "core/CzechCollation.h"

#include <QLocale>

#include <memory>
#include <sqlite3.h>

namespace orvento::core {

QCollator czechCollator() {
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

int compareCzech(const QString& a, const QString& b) {
    static const QCollator collator = czechCollator();
    return collator.compare(a, b);
}

namespace {

int compareUtf8(void* state, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* collator = static_cast<const QCollator*>(state);
    const QString left = QString::fromUtf8(static_cast<const char*>(a), lengthA);
    const QString right = QString::fromUtf8(static_cast<const char*>(b), lengthB);
    return collator->compare(left, right);
}

void destroyCollator(void* state) {
    delete static_cast<QCollator*>(state);
}

} // namespace

bool registerCzechCollation(sqlite3* handle) {
    if (handle == nullptr)
        return false;
    auto collator = std::make_unique<QCollator>(czechCollator());
    const int rc = sqlite3_create_collation_v2(handle, kCzechCollationName, SQLITE_UTF8,
                                               collator.get(), compareUtf8, destroyCollator);
    if (rc != SQLITE_OK)
        return false;
    collator.release(); // SQLite owns it now and frees it through destroyCollator
    return true;
}

} // namespace orvento::core
