#pragma once
// The register map of a simulated drive: which holding registers a drive of a
// given model has, and the words they hold at power-up.

#include <cstdint>
#include <map>
#include <string>

namespace SimDrive {

// Drive words outside the parameter groups.
constexpr std::uint16_t kRegCommandWord = 0x2501;
constexpr std::uint16_t kRegFrequencyCommand = 0x2502;
constexpr std::uint16_t kRegStatusWord = 0x2520;
constexpr std::uint16_t kRegFaultCode = 0x2521;
constexpr std::uint16_t kRegTerminalWord = 0x2522;
constexpr std::uint16_t kRegMonitorFirst = 0x2523;
constexpr std::uint16_t kRegSetFrequency = 0x2523;
constexpr std::uint16_t kRegOutputFrequency = 0x2524;
constexpr std::uint16_t kRegDcVoltage = 0x2526;
constexpr std::uint16_t kRegSeriesCode = 0x252F;
// Last register of the monitor block (16 registers from 0x2523).
constexpr std::uint16_t kRegMonitorLast = 0x2532;

constexpr std::uint16_t kRegCapacity = 0x0D00; // 13-00, the model number
constexpr std::uint16_t kRegVersion = 0x0D01; // 13-01, software version x 1000
constexpr std::uint16_t kRegLatestFault = 0x0D02; // 13-02
constexpr std::uint16_t kRegPassword = 0x0D07; // 13-07, password state

// Status word bits.
constexpr std::uint16_t kStatusRunning = 0x0001;
constexpr std::uint16_t kStatusReverse = 0x0002;
constexpr std::uint16_t kStatusReady = 0x0004;
constexpr std::uint16_t kStatusFault = 0x0008;

// Command word bits.
constexpr std::uint16_t kCommandRun = 0x0001;
constexpr std::uint16_t kCommandReverse = 0x0002;
constexpr std::uint16_t kCommandFaultReset = 0x0008;

// Model code families: the base added to the model number (13-00) for the
// series code that register 0x252F reports.
constexpr std::uint32_t kFamilyS = 0x1100000;
constexpr std::uint32_t kFamilySP = 0x1110000;
constexpr std::uint16_t kSeriesPlain = 0x100;
constexpr std::uint16_t kSeriesS = 0x110;
constexpr std::uint16_t kSeriesSP = 0x111;

// Register of parameter GG-NN.
constexpr std::uint16_t ParamRegister(int group, int item)
{
    return static_cast<std::uint16_t>(group * 256 + item);
}

// Splits a model code into the series code and the model number a drive of
// that model reports (the inverse of the program's model-code rule).
void SplitModelCode(std::uint32_t modelCode, std::uint16_t* series, std::uint16_t* modelNumber);

// The definition file that describes a model: "PARAM.DAT", "PARAMS.DAT" or "PARAMSP.DAT".
std::string DefinitionFileName(std::uint32_t modelCode);

// The register word of a value as a definition file shows it: a decimal text
// gives its digits without the point ("50.00" -> 5000, "0.5" -> 5, "-1.0" ->
// 0xFFF6), the bit fields 03-09, 08-00 and 08-05 are five binary digits and
// 12-00 five octal digits. A text without digits gives 0.
std::uint16_t ValueTextToWord(int group, int item, const std::string& text);

// Limits of a register's word; with a negative minimum the word counts as signed.
struct WordRange {
    int min = 0;
    int max = 0xFFFF;
};

// The first "MIN~MAX" of a remark ("0.00~599.00 Hz"), when both numbers show
// as many decimals as the value text does, so that they scale alike.
bool RangeFromRemark(const std::string& remark, const std::string& valueText, WordRange* range);

// The drive whose registers a definition file fills: its model code and its
// software version (13-01, x 1000).
struct DriveIdentity {
    std::uint32_t modelCode = 0;
    int version = 0;
};

// The form letter (those of link/RegisterText.h: "d12354bo-c") in which the
// program's group readers show register group-item of this drive, with 14-20
// (the pressure unit mode) at mode: the block that the readers request at the
// drive's model and version, else the block that covers the item for its
// model. 0 when no reader block covers it.
char ReaderFormOf(int group, int item, const DriveIdentity& drive, int mode);

// The register word of a factory value text in a reader form: a decimal text
// scaled to the form's decimals ("1.00" in x0.1 -> 10, "0.5" in x0.01 -> 50),
// rounded half away from zero, negative values as two's complement. Forms
// without a scale, and texts that are no decimal number, as ValueTextToWord.
std::uint16_t ValueTextToFormWord(int group, int item, const std::string& text, char form);

// Reads a definition file ("GG-NN name@factory$value*remark" lines, groups
// closed by '#' lines) into register -> power-up word, from the factory
// value, and, when ranges is given, the ranges its remarks state. With a
// drive, every word and range is in the form in which the program's readers
// show the register on that drive (ReaderFormOf, with the file's 14-20);
// without, the digits of the text as ValueTextToWord gives them. Returns false
// when the file cannot be opened.
bool LoadDefinitionFile(const std::string& path, std::map<std::uint16_t, std::uint16_t>* words,
    std::map<std::uint16_t, WordRange>* ranges = nullptr, const DriveIdentity* drive = nullptr);

// The registers of a new drive of the model: the values a new project of the
// model holds in the folder's data files (the program's own File New, at a
// base frequency of 50 Hz: the definition file, the model's built-in values
// and its column of the initial-values file), each in the form in which the
// program's readers show the register on this drive, and, when ranges is
// given, the ranges the remarks state. Returns false, and reports nothing,
// when the folder has no definition file for the model.
bool LoadNewProjectValues(const std::string& folder, const DriveIdentity& drive,
    std::map<std::uint16_t, std::uint16_t>* words, std::map<std::uint16_t, WordRange>* ranges = nullptr);

// The registers every drive of the model has besides its definition file's:
// every block the program reads or writes, the password, command, frequency,
// status and monitor words and the series code; group 14 only for the
// extended models. All start at 0 except the status word (ready), the DC bus
// voltage of the model's class, 13-00, 13-01 and the series code.
std::map<std::uint16_t, std::uint16_t> BuiltInRegisters(std::uint32_t modelCode, int version);

} // namespace SimDrive
