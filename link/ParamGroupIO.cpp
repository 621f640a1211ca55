#include "link/ParamGroupIO.h"

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/DriveQueries.h"
#include "link/ModbusRequest.h"
#include "link/ParamGroupTables.h"
#include "link/RegisterText.h"
#include "link/Serial.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"

#include <bitset>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMaxReadWords = 23;  // group 10: a reply of 51 bytes
constexpr int kMaxFrameWords = 45; // a request of 9 + 90 bytes fits the 100-byte buffer
constexpr int kItems = 100;
constexpr uint16_t kSeriesRegister = 0x252F;
constexpr uint16_t kItem0002Register = 0x0002;
constexpr uint16_t kItem0021Register = 0x0015;
constexpr uint16_t kItem0200Register = 0x0200;

// The text of a failed request: the link's, or the drive's refusal.
std::string ReplyErrorText(const ModbusReply& reply)
{
    return reply.Refused() ? GetCommExceptionText(reply.exception) : GetErrTypeText(reply.result);
}

// Function 03. Group transfers go straight to the link, back to back, without
// the pause of interactive requests. On failure the bare link or refusal text
// is the last error.
bool ReadRegisters(const GroupTransferContext& context, uint8_t station, uint16_t reg, int count, uint16_t* words)
{
    if (count < 1 || count > kMaxReadWords) { // the reply would not fit its buffer
        context.m_strLastError = GetErrTypeText(kErrComm);
        return false;
    }
    const ModbusReply reply =
        CModbusRequest(context.m_pComm).ReadHolding(station, reg, static_cast<uint16_t>(count), words);
    if (reply.Ok())
        return true;
    context.m_strLastError = ReplyErrorText(reply);
    return false;
}

// Function 0x10 with words[0, count). On failure "Station Num <n>", the link or
// refusal text and one blank are the last error.
bool SendFrame(const GroupTransferContext& context, uint8_t station, uint8_t group, uint8_t start, int count,
               const uint16_t* words)
{
    const ModbusReply reply = CModbusRequest(context.m_pComm)
                                  .WriteMany(station, static_cast<uint16_t>(group << 8 | start),
                                             std::span<const uint16_t>(words, static_cast<size_t>(count)));
    if (reply.Ok())
        return true;
    context.m_strLastError = FormatResString(IDS_STATION_NUM, station) + ReplyErrorText(reply) + " ";
    return false;
}

std::string ItemName(int group, int item)
{
    char name[8];
    std::snprintf(name, sizeof name, "%02d-%02d", group % 100, item % 100);
    return name;
}

// The letters that depend on the drive: 'p' on the unit mode of 14-20 (0 is
// pressure, two decimals; any other value percent), 'f' on model and version.
char ResolveForm(char form, const GateContext& context, int mode)
{
    if (form == 'p')
        return mode == 0 ? '2' : 'd';
    if (form == 'f')
        return GateHolds(kGate1005Hundredths, context) ? '2' : '1';
    return form;
}

// The capacity code shown for 13-00. A family read wrongly would show the
// capacity of another model, so a failed series read fails the reader.
bool ReadCapacityText(const GroupTransferContext& context, uint8_t station, uint16_t modelNumber,
                      std::string& text)
{
    uint16_t series = 0;
    if (!ReadRegisters(context, station, kSeriesRegister, 1, &series))
        return false;
    std::string capacity;
    LookupModelByCode(static_cast<uint32_t>(ModelCodeFromSeries(series, modelNumber)), capacity);
    text = capacity;
    return true;
}

bool ReadGroupBlocks(const GroupTransferContext& transfer, int group, uint8_t station)
{
    CD390DocData* doc = &transfer.m_Doc;
    const GateContext context{static_cast<uint32_t>(transfer.m_nModelCode), doc->m_fDriveVersion};
    int mode = transfer.m_nPressureMode; // group 14 reads its own before any mode item
    for (const RegisterBlock& block : ReaderBlocks(group)) {
        if (!InScope(block.gate, context))
            continue;
        if (!TermsHold(block.gate, context)) {
            if (block.gate.otherwise == Skipped::CopySet) {
                for (int k = 0; k < block.count; ++k)
                    if (ParamRec* param = doc->FindParam(group, block.start + k))
                        param->m_strRead = param->m_strValue;
            }
            continue;
        }
        uint16_t words[kMaxReadWords] = {};
        if (!ReadRegisters(transfer, station, static_cast<uint16_t>(group << 8 | block.start), block.count, words))
            return false;
        std::string capacity;
        for (int k = 0; k < block.count; ++k)
            if (BlockForm(block, k) == 'c' && !ReadCapacityText(transfer, station, words[k], capacity))
                return false;
        if (block.setsMode) {
            mode = words[0];
            transfer.m_nPressureMode = mode;
        }
        for (int k = 0; k < block.count; ++k) {
            const char form = ResolveForm(BlockForm(block, k), context, mode);
            if (ParamRec* param = doc->FindParam(group, block.start + k))
                param->m_strRead = form == 'c' ? capacity : FormatRegisterText(form, words[k]);
        }
    }
    return true;
}

// One writer call: converts the texts of the frames it may send, all before
// the first frame, then sends them.
class GroupWriter {
public:
    GroupWriter(const GroupTransferContext& transfer, int group, CParamGroupIO::Values values, uint8_t station,
                std::bitset<kItems>& written)
        : m_transfer(transfer), m_values(values), m_station(station), m_group(static_cast<uint8_t>(group)),
          m_written(written),
          m_context{static_cast<uint32_t>(transfer.m_nModelCode), transfer.m_Doc.m_fDriveVersion}
    {
        m_written.reset();
    }

    // False when there is nobody to write to.
    bool Begin()
    {
        if (m_station == 0)
            return Fail(WriteCheckText(IDS_WRITE_NO_BROADCAST));
        return true;
    }

    const std::string& Text(int item) const
    {
        static const std::string empty;
        return item >= 0 && static_cast<size_t>(item) < m_values.size() ? m_values[item] : empty;
    }

    // Converts the items of block into their words; false, with a message
    // that names the item and its text, when one does not fit a register.
    bool Prepare(const RegisterBlock& block)
    {
        for (int k = 0; k < block.count; ++k) {
            const int item = block.start + k;
            const std::string& text = Text(item);
            const char letter = BlockForm(block, k);
            const char form = ResolveForm(letter, m_context, m_mode);
            if (letter == 'p' && TextHasDecimalPoint(text) != (form == '2')) {
                return Fail(WriteCheckText(form == '2' ? IDS_WRITE_PRESSURE_FORM : IDS_WRITE_PERCENT_FORM,
                                           ItemName(m_group, item), text));
            }
            switch (ConvertTextToWord(form, text, m_words[item])) {
            case WordError::None:
                break;
            case WordError::NotANumber:
                return Fail(WriteCheckText(IDS_WRITE_VALUE_NOT_NUMBER, ItemName(m_group, item), text));
            case WordError::OutOfRange:
                return Fail(WriteCheckText(IDS_WRITE_VALUE_OUT_OF_RANGE, ItemName(m_group, item), text));
            }
        }
        if (block.setsMode)
            m_mode = m_words[block.start];
        return true;
    }

    bool Send(const RegisterBlock& block)
    {
        if (!SendFrame(m_transfer, m_station, m_group, block.start, block.count, &m_words[block.start]))
            return false;
        for (int k = 0; k < block.count; ++k)
            m_written.set(static_cast<std::size_t>(block.start + k));
        return true;
    }

    bool Fail(const std::string& text)
    {
        m_transfer.m_strLastError = text;
        return false;
    }

    // The blocks of a table whose gates hold, checked, then sent in order.
    bool WriteTable(std::span<const RegisterBlock> blocks)
    {
        std::vector<const RegisterBlock*> selected;
        for (const RegisterBlock& block : blocks)
            if (GateHolds(block.gate, m_context))
                selected.push_back(&block);
        for (const RegisterBlock* block : selected)
            if (!Prepare(*block))
                return false;
        for (const RegisterBlock* block : selected)
            if (!Send(*block))
                return false;
        return true;
    }

    bool Is(Models models) const { return InModels(models, m_context); }
    bool Holds(const RegisterBlock& block) const { return GateHolds(block.gate, m_context); }
    uint16_t Word(int item) const { return m_words[item]; }
    const GroupTransferContext& Transfer() const { return m_transfer; }
    uint8_t Station() const { return m_station; }

private:
    const GroupTransferContext& m_transfer;
    CParamGroupIO::Values m_values;
    uint8_t m_station;
    uint8_t m_group;
    std::bitset<kItems>& m_written;
    GateContext m_context;
    int m_mode = -1;
    uint16_t m_words[kItems] = {};
};

} // namespace

std::string WriteCheckText(unsigned id, const std::string& item, const std::string& text)
{
    return FormatResString(id, item.c_str(), text.c_str());
}

CParamGroupIO::CParamGroupIO(const GroupTransferContext& context) : m_context(context) {}

bool CParamGroupIO::ReadParamGroup(int group, uint8_t station)
{
    if (group < 0 || group > 14)
        return false;
    return ReadGroupBlocks(m_context, group, station);
}

bool CParamGroupIO::ReadParamGroup00(uint8_t station) { return ReadGroupBlocks(m_context, 0, station); }
bool CParamGroupIO::ReadParamGroup01(uint8_t station) { return ReadGroupBlocks(m_context, 1, station); }
bool CParamGroupIO::ReadParamGroup02(uint8_t station) { return ReadGroupBlocks(m_context, 2, station); }
bool CParamGroupIO::ReadParamGroup03(uint8_t station) { return ReadGroupBlocks(m_context, 3, station); }
bool CParamGroupIO::ReadParamGroup04(uint8_t station) { return ReadGroupBlocks(m_context, 4, station); }
bool CParamGroupIO::ReadParamGroup05(uint8_t station) { return ReadGroupBlocks(m_context, 5, station); }
bool CParamGroupIO::ReadParamGroup06(uint8_t station) { return ReadGroupBlocks(m_context, 6, station); }
bool CParamGroupIO::ReadParamGroup07(uint8_t station) { return ReadGroupBlocks(m_context, 7, station); }
bool CParamGroupIO::ReadParamGroup08(uint8_t station) { return ReadGroupBlocks(m_context, 8, station); }
bool CParamGroupIO::ReadParamGroup09(uint8_t station) { return ReadGroupBlocks(m_context, 9, station); }
bool CParamGroupIO::ReadParamGroup10(uint8_t station) { return ReadGroupBlocks(m_context, 10, station); }
bool CParamGroupIO::ReadParamGroup11(uint8_t station) { return ReadGroupBlocks(m_context, 11, station); }
bool CParamGroupIO::ReadParamGroup12(uint8_t station) { return ReadGroupBlocks(m_context, 12, station); }
bool CParamGroupIO::ReadParamGroup13(uint8_t station) { return ReadGroupBlocks(m_context, 13, station); }
bool CParamGroupIO::ReadParamGroup14(uint8_t station) { return ReadGroupBlocks(m_context, 14, station); }

bool CParamGroupIO::WriteParamGroup(int group, Values values, uint8_t station)
{
    switch (group) {
    case 0: return WriteParamGroup00(values, station);
    case 1: return WriteParamGroup01(values, station);
    case 2: return WriteParamGroup02(values, station);
    case 10: return WriteParamGroup10(values, station);
    default:
        if (group < 3 || group > 14)
            return false;
        GroupWriter writer(m_context, group, values, station, m_written);
        return writer.Begin() && writer.WriteTable(WriterBlocks(group));
    }
}

bool CParamGroupIO::WriteParamGroup00(Values values, uint8_t station)
{
    GroupWriter writer(m_context, 0, values, station, m_written);
    if (!writer.Begin())
        return false;
    if (writer.Text(5) == writer.Text(6))
        return writer.Fail(LoadResString(IDS_SAME_0005_0006));

    const bool isNew = writer.Is(Models::New);
    const bool write21 = isNew && writer.Holds(kW00Item21);
    if ((isNew && !writer.Prepare(kW00Command)) || !writer.Prepare(kW00Head) || !writer.Prepare(kW00Main) ||
        (write21 && !writer.Prepare(kW00Item21)))
        return false;

    const GroupTransferContext& transfer = writer.Transfer();
    // The writer's own read: its failure is the writer's, told once by the
    // caller like every other.
    uint16_t drive0002 = 0;
    if (!ReadRegisters(transfer, station, kItem0002Register, 1, &drive0002))
        return writer.Fail(LoadResString(IDS_COMM_ERROR));
    transfer.m_nParam0002 = drive0002;
    if (transfer.m_nParam0002 != 0) {
        if (writer.Word(5) == writer.Word(6))
            return writer.Fail(FormatResString(IDS_SAME_VALUE, "00-05", "00-06"));
        if (!writer.Send(kW00Tail))
            return false;
    } else {
        if (isNew) {
            if (!writer.Send(kW00Command))
                return false;
            transfer.m_nParam0002 = writer.Word(2);
        }
        if (!writer.Send(kW00Head))
            return false;
    }
    transfer.m_nParam0002 = writer.Word(2);
    if (!writer.Send(kW00Main))
        return false;
    if (!isNew)
        return true;

    uint16_t drive21 = 0;
    if (!ReadRegisters(transfer, station, kItem0021Register, 1, &drive21))
        return false;
    if (!write21 || writer.Word(21) == drive21)
        return true;
    return writer.Send(kW00Item21);
}

bool CParamGroupIO::WriteParamGroup01(Values values, uint8_t station)
{
    GroupWriter writer(m_context, 1, values, station, m_written);
    if (!writer.Begin())
        return false;
    const bool isNew = writer.Is(Models::New);
    const RegisterBlock& first = isNew ? kW01First[0] : writer.Is(Models::Restricted) ? kW01First[1] : kW01First[2];
    const RegisterBlock& last = isNew ? kW01Last[0] : kW01Last[1];

    struct Point {
        VfStep step;
        char forms[2];
        RegisterBlock block;
    };
    std::vector<Point> points;
    if (!writer.Prepare(first))
        return false;
    const bool withPoints = writer.Word(0) == kVfMode;
    if (withPoints) {
        if (!writer.Prepare(kW01VfStart))
            return false;
        points.reserve(VfSteps().size());
        for (const VfStep& step : VfSteps()) {
            Point& point = points.emplace_back(Point{step, {step.form, 0}, {}});
            point.block = RegisterBlock{step.item, 1, {}, point.forms};
            if (!writer.Prepare(point.block))
                return false;
        }
    }
    if (!writer.Prepare(last))
        return false;

    if (!writer.Send(first))
        return false;
    if (withPoints) {
        if (!writer.Send(kW01VfStart))
            return false;
        // Each point is checked against what the drive holds now, the points
        // written before it included.
        for (const Point& point : points) {
            CSerialComm* comm = writer.Transfer().m_pComm;
            int upper = 0;
            int lower = 0;
            if (point.step.upperItem >= 0 && !DriveQuery::ReadParam01(comm, station, point.step.upperItem, upper))
                return writer.Fail(LoadResString(IDS_COMM_ERROR));
            if (point.step.lowerItem >= 0 && !DriveQuery::ReadParam01(comm, station, point.step.lowerItem, lower))
                return writer.Fail(LoadResString(IDS_COMM_ERROR));
            const int value = writer.Word(point.step.item);
            if ((point.step.upperItem >= 0 && value > upper) || (point.step.lowerItem >= 0 && value < lower))
                return writer.Fail(LoadResString(point.step.messageId));
            if (!writer.Send(point.block))
                return false;
        }
    }
    return writer.Send(last);
}

bool CParamGroupIO::WriteParamGroup02(Values values, uint8_t station)
{
    GroupWriter writer(m_context, 2, values, station, m_written);
    if (!writer.Begin())
        return false;
    const bool restricted = writer.Is(Models::Restricted);
    const bool isNew = writer.Is(Models::New);
    const bool write04 = !restricted && writer.Holds(kW02Item04);
    const bool writeNew = write04 && isNew;
    static const RegisterBlock kItem01 = {0x01, 1, {}, "1"}; // checked even where it is not written

    if (!writer.Prepare(kW02Base) || !writer.Prepare(kItem01) ||
        !writer.Prepare(restricted ? kW02Restricted : kW02Rated) || (write04 && !writer.Prepare(kW02Item04)))
        return false;
    if (writeNew)
        for (const RegisterBlock& block : kW02NewBlocks)
            if (writer.Holds(block) && !writer.Prepare(block))
                return false;

    CSerialComm* comm = writer.Transfer().m_pComm;
    int drive0201 = 0;
    if (!DriveQuery::ReadParam0201(comm, station, drive0201))
        return writer.Fail(LoadResString(IDS_COMM_ERROR));
    if (!(writer.Word(0) < drive0201))
        return writer.Fail(LoadResString(IDS_CURRENT_ORDER));
    if (!writer.Send(kW02Base))
        return false;
    uint16_t drive0200 = 0;
    if (!ReadRegisters(writer.Transfer(), station, kItem0200Register, 1, &drive0200))
        return writer.Fail(LoadResString(IDS_COMM_ERROR));
    if (!(writer.Word(1) >= drive0200))
        return writer.Fail(LoadResString(IDS_CURRENT_ORDER));
    if (restricted)
        return writer.Send(kW02Restricted);
    if (!writer.Send(kW02Rated))
        return false;
    if (!write04)
        return true;
    if (!writer.Send(kW02Item04))
        return false;
    if (!writeNew)
        return true;
    for (const RegisterBlock& block : kW02NewBlocks)
        if (writer.Holds(block) && !writer.Send(block))
            return false;
    return true;
}

bool CParamGroupIO::WriteParamGroup03(Values values, uint8_t station) { return WriteParamGroup(3, values, station); }
bool CParamGroupIO::WriteParamGroup04(Values values, uint8_t station) { return WriteParamGroup(4, values, station); }
bool CParamGroupIO::WriteParamGroup05(Values values, uint8_t station) { return WriteParamGroup(5, values, station); }
bool CParamGroupIO::WriteParamGroup06(Values values, uint8_t station) { return WriteParamGroup(6, values, station); }
bool CParamGroupIO::WriteParamGroup07(Values values, uint8_t station) { return WriteParamGroup(7, values, station); }
bool CParamGroupIO::WriteParamGroup08(Values values, uint8_t station) { return WriteParamGroup(8, values, station); }
bool CParamGroupIO::WriteParamGroup09(Values values, uint8_t station) { return WriteParamGroup(9, values, station); }
bool CParamGroupIO::WriteParamGroup11(Values values, uint8_t station) { return WriteParamGroup(11, values, station); }
bool CParamGroupIO::WriteParamGroup12(Values values, uint8_t station) { return WriteParamGroup(12, values, station); }
bool CParamGroupIO::WriteParamGroup13(Values values, uint8_t station) { return WriteParamGroup(13, values, station); }
bool CParamGroupIO::WriteParamGroup14(Values values, uint8_t station) { return WriteParamGroup(14, values, station); }

bool CParamGroupIO::WriteParamGroup10(Values values, uint8_t station)
{
    GroupWriter writer(m_context, 10, values, station, m_written);
    if (!writer.Begin())
        return false;
    if (writer.Text(0) == writer.Text(1))
        return writer.Fail(LoadResString(IDS_SAME_1000_1001));
    return writer.WriteTable(WriterBlocks(10));
}

bool CParamGroupIO::WriteParamGroup13Ex(Values values, uint8_t station)
{
    GroupWriter writer(m_context, 13, values, station, m_written);
    return writer.Begin() && writer.WriteTable(WriterBlocks13Ex());
}

bool CParamGroupIO::WriteParamRegister(const uint16_t* words, uint8_t station, uint8_t group, uint8_t start, int count)
{
    GroupWriter writer(m_context, group, {}, station, m_written);
    if (!writer.Begin())
        return false;
    if (!words || count < 1 || count > kMaxFrameWords)
        return writer.Fail(LoadResString(IDS_COMM_ERROR));
    if (!SendFrame(m_context, station, group, start, count, words + start))
        return false;
    for (int k = 0; k < count && start + k < kItems; ++k)
        m_written.set(static_cast<std::size_t>(start + k));
    return true;
}

bool CParamGroupIO::Wrote(int item) const
{
    return item >= 0 && item < kItems && m_written.test(static_cast<std::size_t>(item));
}
