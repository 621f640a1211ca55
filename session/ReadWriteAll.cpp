#include "session/ReadWriteAll.h"

#include "document/D390DocData.h"
#include "document/ModelTables.h"
#include "link/CommTexts.h"
#include "link/Crc16.h"
#include "link/DriveQueries.h"
#include "link/ModbusRequest.h"
#include "link/ParamGroupIO.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "res/StringIds.h"
#include "session/DriveWork.h"
#include "session/LinkSetup.h"
#include "session/DriveSession.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kLastPlainGroup = 13;
constexpr int kGroup14 = 14;
constexpr int kReadBarHigh = 15;

// Group 14 exists from this drive version on in the S family.
constexpr float kGroup14Version = 1.093f;
// Below this version an S drive takes 03-15 only up to 15.0.
constexpr float kWide0315Version = 1.06f;
constexpr double kHighest0315 = 15.0;

constexpr const char* kInitialParamFile = "IntialParam.DAT";

std::string TwoDigits(int group)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", group);
    return text;
}

std::string VersionText(float version)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", version);
    return text;
}

bool IsFamilyS(int code)
{
    return code > kModelFamilyS && code < kModelFamilySP;
}

// Whether group 14 is read or written for the project's model and the drive's version.
bool HasGroup14(int code, float version)
{
    return code > kModelFamilySP || (IsFamilyS(code) && version >= kGroup14Version);
}

void ForEachParam(CD390DocData& doc, const std::function<void(int group, int item, ParamRec&)>& action)
{
    for (std::size_t group = 0; group < doc.m_Groups.size(); ++group) {
        std::vector<ParamRec>& params = doc.m_Groups[group].m_Params;
        for (std::size_t item = 0; item < params.size(); ++item)
            action(static_cast<int>(group), static_cast<int>(item), params[item]);
    }
}

// The project's table for the drive's model, before the read: definition,
// motor and initial-value files and the model's values. Set values are the
// project's own where the model stays, the model's defaults otherwise; read
// values start as the set values, so that a record no block covers keeps it.
bool BuildScratch(const CD390DocData& project, bool sameModel, float version, CD390DocData& scratch)
{
    scratch.m_bApplyInitParams = 1;
    if (!scratch.ReloadParamFiles())
        return false;
    scratch.ReadMotorParamFile(scratch.m_strProgramFolder + CD390DocData::MotorFileNameOf(scratch.m_nModelCode));
    if (sameModel) {
        scratch.SetModelDefaults();
        ForEachParam(scratch, [&project](int group, int item, ParamRec& param) {
            if (const ParamRec* own = project.FindParam(group, item))
                param.m_strValue = own->m_strValue;
        });
    } else {
        scratch.SetInitialValues();
    }
    ForEachParam(scratch, [](int, int, ParamRec& param) { param.m_strRead = param.m_strValue; });
    scratch.m_fDriveVersion = version;
    return true;
}

// Moves the read table, and the drive's model with it, into the project.
void CommitScratch(CD390DocData& scratch, CD390DocData& project)
{
    project.m_nModelCode = scratch.m_nModelCode;
    project.m_strModelName = scratch.m_strModelName;
    project.m_Groups = std::move(scratch.m_Groups);
    std::memcpy(project.m_Defined, scratch.m_Defined, sizeof project.m_Defined);
    std::memset(project.m_SavedDefined, 0, sizeof project.m_SavedDefined);
    project.m_MotorParams = std::move(scratch.m_MotorParams);
    project.m_InitParams = std::move(scratch.m_InitParams);
    project.m_fDriveVersion = scratch.m_fDriveVersion;
    project.m_bApplyInitParams = scratch.m_bApplyInitParams;
}

bool OfferToSave(CD390DocData& project)
{
    if (!project.IsModified())
        return true;
    int answer = AfxMessageBox(IDS_FILE_MODIFIED, MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return false;
    // The project's own save: a failure is reported, and a success names the
    // file in the title, the status bar and the recent list.
    if (answer == IDYES)
        return project.SaveProject();
    return true;
}

// The final write of 10-03 after group 14: one function-06 request. A
// failure leaves its text in the last error.
bool Write1003(const GroupTransferContext& transfer, const CD390DocData& project, int station)
{
    const ParamRec* param = project.FindParam(10, 3);
    int value = param ? std::atoi(param->m_strValue.c_str()) : 0;
    const ModbusReply reply = CModbusRequest(transfer.m_pComm)
                                  .WriteOne(static_cast<uint8_t>(station), 0x0A03, static_cast<uint16_t>(value));
    if (reply.Ok())
        return true;
    transfer.m_strLastError = reply.Refused() ? GetCommExceptionText(reply.exception) : GetErrTypeText(reply.result);
    return false;
}

// The set values of a group, entry k being item GG-k, one for every record.
std::vector<std::string> GroupValues(const CD390DocData& project, int group)
{
    std::vector<std::string> values;
    if (group < static_cast<int>(project.m_Groups.size()))
        for (const ParamRec& param : project.m_Groups[group].m_Params)
            values.push_back(param.m_strValue);
    return values;
}

} // namespace

std::string ReadProgressText(int group, int station)
{
    return TwoDigits(group) + "-XX --" + LoadResString(IDS_STATION_NUM_LABEL) + std::to_string(station);
}

std::string WriteProgressText(int group, int station)
{
    return TwoDigits(group) + "-XX -- " + LoadResString(IDS_STATION_NUM_LABEL) + std::to_string(station);
}

bool ReadAllGroups(const GroupTransferContext& context, int station, TransferProgress& progress)
{
    progress.SetRange(kReadBarHigh);
    progress.SetPosition(0);
    CParamGroupIO io(context);
    auto readGroup = [&](int group) {
        progress.SetText(ReadProgressText(group, station));
        if (io.ReadParamGroup(group, static_cast<uint8_t>(station))) {
            progress.SetPosition(group + 1);
            return true;
        }
        progress.Hide();
        return false;
    };
    for (int group = 0; group <= kLastPlainGroup; ++group)
        if (!readGroup(group))
            return false;

    const int code = context.m_nModelCode;
    if (code <= kModelFamilyS)
        return true;
    CD390DocData& doc = context.m_Doc;
    if (HasGroup14(code, doc.m_fDriveVersion))
        return readGroup(kGroup14);
    if (static_cast<int>(doc.m_Groups.size()) > kGroup14)
        for (ParamRec& param : doc.m_Groups[kGroup14].m_Params)
            param.m_strRead = param.m_strValue;
    return true;
}

bool RunReadAll(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress,
                const std::function<void()>& showRead)
{
    CDriveTransferScope transfer;
    session.m_nReadStation = station;
    session.m_bReading = 1;
    struct ReadingFlag {
        CDriveSession& session;
        ~ReadingFlag() { session.m_bReading = 0; }
    } readingFlag{session};

    if (!OfferToSave(project))
        return false;

    // One drive work from the first request to the last: the identification,
    // the table of the drive's model and every group follow each other on the
    // line without the window thread in between (the main frame is disabled
    // and enabled once, not between the identification and group 00).
    // The table is read into a scratch project of the drive's model; the
    // project takes it, and the model, only once the whole read succeeded.
    CD390DocData scratch;
    scratch.m_strProgramFolder = project.m_strProgramFolder;
    scratch.m_nFreqIndex = project.m_nFreqIndex;
    bool identified = false;
    bool built = false;
    bool read = false;
    {
        CWorkerTransfer worker(session, scratch);
        CWindowThreadProgress shown(progress);
        RunDriveWork([&] {
            int code = 0;
            float version = 0.0f;
            identified = session.ReadModelCode(static_cast<uint8_t>(station), code) &&
                         session.ReadParam0D01(static_cast<uint8_t>(station), version);
            if (!identified)
                return;
            PostOnWindowThread([&progress] {
                if (!progress.IsShown())
                    progress.ShowWithHeading(LoadResString(IDS_READ_HEADING));
            });
            const bool sameModel = code == project.m_nModelCode && !project.m_Groups.empty();
            std::string capacity;
            scratch.m_strModelName = LookupModelByCode(static_cast<uint32_t>(code), capacity);
            scratch.m_nModelCode = code;
            built = BuildScratch(project, sameModel, version, scratch);
            if (!built)
                return;
            // The model list names some codes twice; the code read from the drive counts.
            scratch.m_nModelCode = code;
            const GroupTransferContext& taken = worker.Context();
            const GroupTransferContext context{taken.m_pComm,        taken.m_Doc,           code,
                                               taken.m_nParam0002,   taken.m_nPressureMode, taken.m_strLastError};
            read = ReadAllGroups(context, station, shown);
        });
        worker.GiveBack();
    }
    if (!identified)
        return false;
    if (!built) {
        progress.Hide();
        return false;
    }
    if (!read) {
        progress.Hide();
        AfxMessageBox(session.m_strLastError, MB_OK);
        return false;
    }

    ForEachParam(scratch, [](int, int, ParamRec& param) { param.m_strValue = param.m_strRead; });
    scratch.m_bApplyInitParams = 0;
    scratch.ReadInitialParamFile(scratch.m_strProgramFolder + kInitialParamFile);
    CommitScratch(scratch, project);
    session.m_strModelName2 = project.m_strModelName;
    project.ClearChanged();
    project.SetModifiedFlag(false);
    progress.Hide();

    // The list shows the values read, and the status bar the drive, before
    // the success is told.
    if (showRead)
        showRead();
    session.Windows().SetStatusPaneText(kPaneModel, project.m_strModelName);
    session.Windows().SetStatusPaneText(kPaneVersion, VersionText(project.m_fDriveVersion));
    AfxMessageBox(IDS_READ_SUCCESSFUL, MB_OK);
    return true;
}

namespace {

// The checks of the drive before Write, on the drive work: false when Write
// must stop (the reason shown). mismatchAccepted tells that the user let a
// model mismatch pass.
bool CheckDriveForWrite(CDriveSession& session, int code, uint8_t target, bool& mismatchAccepted, float& version)
{
    bool passwordActive = false;
    if (!session.ReadPasswordState(target, passwordActive))
        return false;
    if (passwordActive) {
        AfxMessageBox(FormatResString(IDS_PASSWORD_SET, static_cast<int>(target)), MB_OK);
        return false;
    }
    bool running = false;
    if (!session.IsDriveRunning(target, running))
        return false;
    if (running) {
        AfxMessageBox(IDS_DRIVE_RUNNING, MB_OK);
        return false;
    }

    int series = 0;
    int capacity = 0;
    if (!session.ReadSeriesCode(target, series) || !session.ReadCapacityCode(target, capacity))
        return false;
    const int driveCode = ModelCodeFromSeries(series, capacity);
    if (!SeriesFitsProject(code, series)) {
        AfxMessageBox(IDS_SERIES_MISMATCH, MB_OK);
        return false;
    }
    if (code != driveCode) {
        if (ModelClassOf(code) != ModelClassOf(driveCode)) {
            AfxMessageBox(IDS_CLASS_MISMATCH, MB_OK);
            return false;
        }
        if (AfxMessageBox(IDS_MODEL_MAY_NOT_MATCH, MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return false;
        mismatchAccepted = true;
    }
    return session.ReadParam0D01(target, version) != 0;
}

// Every group of the project in order, on the drive work. False when a group
// failed, with the progress window hidden and in failure the reason, to be
// shown once the list shows what was written.
// written gets the (group, item) pairs whose values an accepted frame
// carried, a failed group's first frames included.
bool WriteGroups(const GroupTransferContext& transfer, const CD390DocData& project, int station,
                 TransferProgress& progress, std::vector<std::pair<int, int>>& written, std::string& failure)
{
    const int code = transfer.m_nModelCode;
    const float version = project.m_fDriveVersion;
    const uint8_t target = static_cast<uint8_t>(station);
    auto fail = [&](std::string reason) {
        progress.Hide();
        failure = std::move(reason);
        return false;
    };
    // The writers gate on the project's model code and on the version just
    // read into the project.
    CParamGroupIO io(transfer);
    auto writeGroup = [&](int group) {
        progress.SetText(WriteProgressText(group, station));
        std::vector<std::string> values = GroupValues(project, group);
        const bool ok = io.WriteParamGroup(group, values, target);
        for (int item = 0; item < kItemCount; ++item)
            if (io.Wrote(item))
                written.emplace_back(group, item);
        return ok;
    };

    for (int group = 0; group <= kLastPlainGroup; ++group) {
        if (group == 3 && IsFamilyS(code) && version < kWide0315Version) {
            const ParamRec* param = project.FindParam(3, 15);
            if (param && std::atof(param->m_strValue.c_str()) > kHighest0315)
                return fail(FormatResString(IDS_VERSION_RANGE, "03-15", "0.1~15.0"));
        }
        if (!writeGroup(group))
            return fail(transfer.m_strLastError);
        progress.SetPosition(group + 1);
    }

    if (HasGroup14(code, version)) {
        if (!writeGroup(kGroup14))
            return fail(transfer.m_strLastError);
        progress.SetPosition(kGroup14 + 1);
        if (!Write1003(transfer, project, station))
            return fail(transfer.m_strLastError);
        written.emplace_back(10, 3);
    }
    return true;
}

} // namespace

bool RunWriteAll(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress,
                 const std::function<void()>& showMotorList, const std::function<void()>& showWritten)
{
    session.m_bWriteAll = 1;
    // Station 0 would broadcast the whole parameter set to every drive unseen.
    if (station < 1) {
        AfxMessageBox(WriteCheckText(IDS_WRITE_NO_BROADCAST), MB_OK);
        return false;
    }
    const uint8_t target = static_cast<uint8_t>(station);
    CDriveTransferScope transfer;

    bool checked = false;
    bool mismatchAccepted = false;
    float version = 0.0f;
    RunDriveWork([&] { checked = CheckDriveForWrite(session, project.m_nModelCode, target, mismatchAccepted, version); });
    if (!checked)
        return false;
    project.m_fDriveVersion = version;

    if (!progress.IsShown())
        progress.ShowWithHeading(LoadResString(IDS_WRITE_HEADING));
    if (mismatchAccepted)
        session.m_bWriteAll = 0;
    progress.SetRange(static_cast<int>(project.m_Groups.size()));
    progress.SetPosition(0);

    session.m_bWriting = 1;
    bool written = false;
    std::string failure;
    std::vector<std::pair<int, int>> carried;
    {
        CWorkerTransfer worker(session, project);
        // A failure is told once, with its own text: never an earlier one.
        worker.LastError().clear();
        CWindowThreadProgress shown(progress);
        RunDriveWork([&] { written = WriteGroups(worker.Context(), project, station, shown, carried, failure); });
        worker.GiveBack();
    }
    session.m_bWriting = 0;
    // A change mark goes where the drive now holds the value: the writers
    // leave items out by their rules (00-01 while the drive's 00-02 is not
    // 0, ...), and a failure ends the write midway.
    for (const auto& [group, item] : carried) {
        const int position = project.DefinedPosition(group, item);
        if (position >= 0 && position < kItemCount)
            project.m_Changed[group][position] = 0;
    }
    // The list shows what the drive now holds before the outcome is told.
    if (showWritten && (written || !carried.empty()))
        showWritten();
    if (!written) {
        AfxMessageBox(failure, MB_OK);
        return false;
    }

    if (progress.IsShown())
        progress.Hide();
    if (session.m_bWriteAll == 0 && showMotorList)
        showMotorList();
    AfxMessageBox(IDS_WRITE_SUCCESSFUL, MB_OK);
    return true;
}

bool RunCompareRead(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress)
{
    const auto target = static_cast<uint8_t>(station);
    CDriveTransferScope transfer;
    if (!progress.IsShown())
        progress.ShowWithHeading(LoadResString(IDS_READ_HEADING));

    // The drive is read into a copy of the records; the project's read values
    // change on the window thread once the reading has ended.
    CD390DocData buffer;
    buffer.m_nModelCode = project.m_nModelCode;
    buffer.m_Groups = project.m_Groups;
    float version = 0.0f;
    bool versionRead = false;
    bool read = false;
    {
        CWorkerTransfer worker(session, buffer);
        CWindowThreadProgress shown(progress);
        RunDriveWork([&] {
            versionRead = session.ReadParam0D01(target, version) != 0;
            if (!versionRead)
                return;
            buffer.m_fDriveVersion = version;
            read = ReadAllGroups(worker.Context(), station, shown);
        });
        worker.GiveBack();
    }
    if (!versionRead) {
        progress.Hide();
        return false;
    }
    project.m_fDriveVersion = version;
    // What was read counts, a failed read's groups included.
    for (std::size_t group = 0; group < buffer.m_Groups.size() && group < project.m_Groups.size(); ++group) {
        const std::vector<ParamRec>& from = buffer.m_Groups[group].m_Params;
        std::vector<ParamRec>& into = project.m_Groups[group].m_Params;
        for (std::size_t item = 0; item < from.size() && item < into.size(); ++item)
            into[item].m_strRead = from[item].m_strRead;
    }
    if (!read) {
        progress.Hide();
        AfxMessageBox(session.m_strLastError, MB_OK);
        return false;
    }
    progress.Hide();
    return true;
}
