// A report data file read by the report runner; a person may hand it any file.
#include "FuzzSupport.h"

#include "output/DataSetReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    QString error;
    if (const auto set = output::readDataSetText(fuzz::bytes(data, size), &error))
        for (const output::ReportTable& table : set->tables)
            for (int row = 0; row < table.rowCount(); ++row)
                for (int column = 0; column < static_cast<int>(table.columns().size()); ++column)
                    (void)table.value(row, column);
    return 0;
}
