// The configuration `Tovaro.ini`, which a person may edit by hand: read at start-up, then
// rewritten with the new values on closing, keeping every line it does not understand.
#include "FuzzSupport.h"

#include "core/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvento;
    const QString path = fuzz::writeFile(QStringLiteral("Tovaro.ini"), fuzz::bytes(data, size));
    core::IniFile ini = core::IniFile::load(path);
    (void)ini.value(QStringLiteral("PATH"), QStringLiteral("DataPath"));
    (void)ini.value(QStringLiteral("CONFIG"), QStringLiteral("LastDBName"), QStringLiteral("DEMO"));
    (void)ini.boolValue(QStringLiteral("CONFIG"), QStringLiteral("RunPrgFirst"), true);
    (void)ini.boolValue(QStringLiteral("CONFIG"), QStringLiteral("BuilderMode"), false);
    ini.setValue(QStringLiteral("PATH"), QStringLiteral("DataPath"), QStringLiteral("/srv/DATA/"));
    ini.setBool(QStringLiteral("CONFIG"), QStringLiteral("RunPrgSetup"), false);
    if (!ini.save(path))
        return 0;
    (void)core::IniFile::load(path).value(QStringLiteral("PATH"), QStringLiteral("DataPath"));
    (void)core::IniFile::fromText(ini.toText())
        .value(QStringLiteral("CONFIG"), QStringLiteral("LastDBName"));
    return 0;
}
