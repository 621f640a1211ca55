#pragma once
// The project document without its window side: the parameter table of one
// drive model, built from the definition, motor-parameter and initial-values
// files of the program folder, the model defaults, and the project file. The
// framework's document (CD390Doc) derives from it; tests use it alone. It
// holds the project's own settings (model, base frequency, graph channels,
// print titles, path) and asks the main frame's windows for prompts, the tree
// and the status panes through the CFrameWindows it is made with.

#include "document/FrameWindows.h"
#include "document/GroupRec.h"
#include "document/InitParamRec.h"
#include "document/MotorParamRec.h"
#include "document/ParamRec.h"

#include <cstdint>
#include <string>
#include <vector>

// The hard shape of the flag arrays: groups 00 to 14, items 00 to 99.
constexpr int kGroupCount = 15;
constexpr int kItemCount = 100;

// The model of a project before one is chosen, and what the windows go by
// while no project is open.
constexpr int kDefaultModelCode = 1205;

class CD390DocData {
public:
    // Only the empty state (no file, model 1205): the table is built by
    // BuildForCurrentModel. A project without windows of its own (a scratch
    // table, a test) is made with NoFrameWindows().
    explicit CD390DocData(CFrameWindows& windows = NoFrameWindows());
    virtual ~CD390DocData();

    CD390DocData(const CD390DocData&) = delete;
    CD390DocData& operator=(const CD390DocData&) = delete;

    // Builds the table for the project's model (m_nModelCode, m_strModelName): definition and
    // motor-parameter files, built-in model values, graph channels reset.
    // False (reported, naming the file) when the definition file cannot be
    // read; the project must then be refused.
    bool BuildForCurrentModel();

    // --- Definition and motor-parameter files -----------------------------
    // Rebuilds m_Groups and m_Defined from the definition file and clears
    // m_SavedDefined. A file that cannot be read is reported with its name and
    // leaves the table as it was (false).
    bool ParseParamFile(const std::string& path);
    // Rebuilds m_MotorParams; a missing file leaves the list empty, silently.
    void ReadMotorParamFile(const std::string& path);
    // Switches the project to the model named after the first ':' of text and
    // rebuilds the table for it. False when the definition file cannot be read
    // (nothing changed then).
    bool SetModelFromText(const std::string& text);
    // Rebuilds the table for the project's model code.
    bool ReloadParamFiles();

    // Definition and motor-parameter file names for a model code.
    static const char* ParamFileNameOf(int modelCode);
    static const char* MotorFileNameOf(int modelCode);
    // The initial-values file's name in the program folder.
    static const char* InitialParamFileName();

    // --- Initial values and model defaults -------------------------------
    // Replaces m_InitParams by the rows of the file and applies them; a file
    // that cannot be opened is reported and changes nothing (false).
    bool ReadInitialParamFile(const std::string& path);
    static void SplitInitLine(const std::string& line, InitParamRec& rec);
    // Writes the model's column of the rows into their fixed parameters: the
    // factory default, and the set value too while m_bApplyInitParams is set.
    void ApplyInitParams();
    // Built-in values by model and base frequency, factory default and set value.
    void SetInitialValues();
    // The same values, factory default only (02-06 left alone).
    void SetModelDefaults();
    // Column of a model code in the initial-values rows 0 to 8 (wide) and 9 to
    // 20 (narrow); -1 when the code has none.
    static int WideColumnOf(int modelCode);
    static int NarrowColumnOf(int modelCode);

    // --- Project file ----------------------------------------------------
    // Loads a project file. The whole file and the definition file of its
    // model are read into temporaries first: on failure nothing changes
    // (table, model, graph channels, base frequency, titles) and
    // m_strLoadError holds the text to show.
    bool LoadProjectFile(const std::string& path);
    // Stores the project into a temporary file beside path and renames it over
    // path once everything is written. False (old file intact) on failure.
    bool SaveProjectFile(const std::string& path) const;
    // The bytes that SaveProjectFile writes.
    std::string BuildProjectBytes() const;

    // --- Project commands, without windows --------------------------------
    // File New, once the model is chosen: builds the table, reads the
    // initial values into factory defaults and set values, shows "New
    // Project". False when the table cannot be built (reported).
    bool NewProject();
    // File Open (the caller has refused it while auto-refresh runs): loads the
    // file, then renews the factory defaults from the initial values. The
    // project path changes only when the open succeeded. Failures are reported.
    bool OpenProject(const std::string& path);
    // Save asks for a path when the project has none, Save As always; both
    // stop on cancel. True when the project was saved.
    bool SaveProject();
    bool SaveProjectAs();
    // Before the project closes: true to go on closing, false to stay open.
    bool SaveModified();
    // Writes the project to path. Success: the project path, recent list,
    // window title and status pane follow, the project is unmodified.
    // Failure: reported, the project path emptied so the next save asks.
    bool SaveProjectTo(const std::string& path);

    // --- Access -----------------------------------------------------------
    // Parameter GG-NN, or nullptr when the table lacks it.
    ParamRec* FindParam(int group, int item);
    const ParamRec* FindParam(int group, int item) const;
    // Position of item among the defined parameters of group (the index of
    // m_Changed), or -1 when the item is not defined.
    int DefinedPosition(int group, int item) const;
    void ClearChanged();

    // The framework's modified flag; the window document forwards both.
    virtual bool IsModified() const;
    virtual void SetModifiedFlag(bool modified = true);

    // Members in the order of the document class.
    uint32_t m_SavedDefined[kGroupCount][kItemCount];
    std::vector<MotorParamRec> m_MotorParams;
    uint32_t m_Defined[kGroupCount][kItemCount];
    std::string m_strLoadError;
    int m_bApplyInitParams = 1;
    std::vector<InitParamRec> m_InitParams;
    float m_fDriveVersion = 0.0f;
    std::vector<GroupRec> m_Groups;
    // Indexed by group and by the position of the parameter among the group's
    // defined parameters (DefinedPosition), as the pages and the list use it.
    uint32_t m_Changed[kGroupCount][kItemCount];

    // Sources 0, scales "10.00" and "0.00", names "No display", flag 0.
    void ResetGraphChannels();
    // m_strProjectPath after its last '/'; empty when it has none.
    std::string GetProjectFileName() const;
    CFrameWindows& Windows() const { return m_windows; }

    // The project's settings, stored in the project file.
    int m_nModelCode = kDefaultModelCode;
    std::string m_strModelName;
    int m_nFreqIndex = 0;
    int m_nGraphSel[4] = {0, 0, 0, 0};
    int m_nGraphFlag = 0;
    std::string m_strGraphMax[4];
    std::string m_strGraphMin[4];
    std::string m_strGraphSource[4];
    // Where the project was last opened or saved; empty for a new one.
    std::string m_strProjectPath;
    // The folder of the definition, motor and initial-values files; ends
    // with '/'.
    std::string m_strProgramFolder;

    // Print title block, stored in the project file; the view prints it.
    std::string m_strPrintTitle;
    std::string m_strPrintName;
    std::string m_strPrintDepartment;

protected:
    // The window document keeps its file name and title in step.
    virtual void OnProjectPathChanged(const std::string& path);

private:
    void ApplyModelList(bool setValues);

    CFrameWindows& m_windows;
    bool m_bModified = false;
};
