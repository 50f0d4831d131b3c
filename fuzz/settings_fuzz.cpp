// The settings and macro files read from any bytes, then written and read
// again: what is written reads back the same.
#include "FuzzInput.h"
#include "app/SettingsFiles.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ComSettings com = ReadComSettings(bytes);
    const std::string comText = WriteComSettings(com);
    fuzz::Require(WriteComSettings(ReadComSettings(comText)) == comText);

    const MacroTexts macros = ReadMacroSettings(bytes);
    const std::string macroText = WriteMacroSettings(macros);
    fuzz::Require(WriteMacroSettings(ReadMacroSettings(macroText)) == macroText);

    const PgmSettings pgm = ReadPgmSettings(bytes);
    const std::string pgmText = WritePgmSettings(pgm);
    fuzz::Require(WritePgmSettings(ReadPgmSettings(pgmText)) == pgmText);
    return 0;
}
