#pragma once
// Read-all and Write-all: the whole parameter set of one drive into the
// project, or the project's into one drive, group by group with the progress
// window. The window commands ask for the station and refresh the list; the
// rest happens here.

#include <functional>
#include <string>

class CD390DocData;
class CDriveSession;
struct GroupTransferContext;

// The progress window as the two commands use it.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual bool IsShown() const = 0;
    // Places the window over the main frame, sets the heading and shows it.
    virtual void ShowWithHeading(const std::string& heading) = 0;
    virtual void SetRange(int high) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual void Hide() = 0;
};

// Progress that nobody sees: for transfers without a window to show it in.
class NoTransferProgress : public TransferProgress {
public:
    bool IsShown() const override { return false; }
    void ShowWithHeading(const std::string&) override {}
    void SetRange(int) override {}
    void SetPosition(int) override {}
    void SetText(const std::string&) override {}
    void Hide() override {}
};

// The progress text of group g: "05-XX --Station Num:1" (Read) or
// "05-XX -- Station Num:1" (Write).
std::string ReadProgressText(int group, int station);
std::string WriteProgressText(int group, int station);

// Reads groups 00 to 13, and 14 where the model and the drive version have it,
// of the station into the context's document, whose drive version the gates
// test. True when every group was read; false with the progress window hidden
// and the reader's text in the context's m_strLastError. Group 14 of a model
// or version that lacks it is not read: its read values become its set values.
bool ReadAllGroups(const GroupTransferContext& context, int station, TransferProgress& progress);

// Read, after the station was chosen. The project changes only when every
// group was read: its model, set values, factory values and modified flag
// stay as they were after any failure. A record that no block of the read
// covers keeps its set value (the new model's default after a model change).
// The modified project is offered for saving first. True when the project now
// holds the drive's values. showRead has the windows show the project as
// read (the list, without change marks) before the status bar names the
// drive and the success is told: a message comes after what it reports.
bool RunReadAll(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress,
                const std::function<void()>& showRead = {});

// Compare's drive read, after the station was chosen: the drive version,
// then every group into a copy of the project's records. The read values of
// what was read go into the project, those of a failed read's groups too;
// set values and the modified flag stay. True when every group was read.
bool RunCompareRead(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress);

// Write, after the station was chosen: the checks of the drive (password,
// running, family, voltage class, model), every group in order, then 10-03
// once more after group 14. showMotorList runs when the user let a model
// mismatch pass (the motor parameters stay the project's own). True when
// every group was written. showWritten has the list drop the change marks of
// what was written; it runs whenever a group's frames were accepted, before
// any message about the outcome.
bool RunWriteAll(CDriveSession& session, CD390DocData& project, int station, TransferProgress& progress,
                 const std::function<void()>& showMotorList, const std::function<void()>& showWritten = {});
