// A table of the accounting system (an xBase file under a ".dat" name), opened with the fields
// and the index the import of its orders asks for, walked in index order and searched by key.
#include "FuzzSupport.h"

#include "import/XBaseMoneyTable.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString path = fuzz::writeFile(QStringLiteral("ObPolObj.dat"), fuzz::bytes(data, size));
    const QStringList fields{QStringLiteral("Cislo"),      QStringLiteral("MasterCisl"),
                             QStringLiteral("Poradi"),     QStringLiteral("Popis"),
                             QStringLiteral("Cena s DPH"), QStringLiteral("Sklad")};
    import::XBaseMoneyTable table;
    if (table.open(path.chopped(4), fields) != import::MoneyTable::kOpened)
        return 0;
    if (table.setIndex(QStringLiteral("Cislo+MasterCisl+Poradi")) ==
        import::MoneyTable::kIndexSet) {
        table.first();
        for (qint64 i = 0; i < table.recordCount(); ++i) {
            for (const QString& field : fields)
                (void)table.value(field);
            if (table.next() != import::MoneyTable::kMoved)
                break;
        }
        (void)table.seek(QVariant(1.0));
        (void)table.seekKeys({QVariant(QStringLiteral("1")), QVariant(2.0)});
    }
    table.close();
    return 0;
}
