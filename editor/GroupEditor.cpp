#include "editor/GroupEditor.h"

#include "document/D390DocData.h"
#include "editor/EditorStrings.h"
#include "link/ParamGroupIO.h"
#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "session/DriveWork.h"

#include <algorithm>

CGroupEditor::CGroupEditor(EditorContext& context, const GroupTable& table, int group, int nItem)
    : m_context(context), m_table(table), m_nGroup(group), m_nItem(nItem)
{
}

int CGroupEditor::ItemOfPosition(int position) const
{
    if (position < 0)
        return -1;
    int seen = 0;
    for (int item = 0; item < kItemCount; ++item)
        if (m_context.doc.m_Defined[m_nGroup][item] && seen++ == position)
            return item;
    return -1;
}

void CGroupEditor::InitGroupTabs()
{
    m_pLayout = &m_table.layouts[static_cast<std::size_t>(m_table.LayoutOf(m_context.modelCode))];
    m_bTransmitEnabled = m_context.drive.m_bConnected != 0;
    const std::string name = m_nGroup < static_cast<int>(m_context.doc.m_Groups.size())
                                 ? m_context.doc.m_Groups[static_cast<std::size_t>(m_nGroup)].m_strName
                                 : std::string();
    m_Captions = m_pLayout->captions;
    if (!m_Captions.empty())
        m_Captions[0] = name + m_Captions[0];
    // The group's display mode is settled before any page loads in it.
    if (m_table.onOpen)
        m_table.onOpen(m_context);
    m_Pages.clear();
    for (std::size_t p = 0; p < m_pLayout->pages.size(); ++p) {
        m_Pages.push_back(std::make_unique<CGroupPageModel>(*m_pLayout->pages[p], static_cast<int>(p)));
        m_Pages.back()->Load(m_context);
    }
    m_nShownTab = 0;
    const int item = ItemOfPosition(m_nItem);
    for (std::size_t p = 0; item >= 0 && p < m_Pages.size(); ++p) {
        const int row = m_Pages[p]->RowOfItem(item);
        if (row >= 0) {
            m_nShownTab = static_cast<int>(p);
            m_Pages[p]->m_nMarked = row;
            break;
        }
    }
}

bool CGroupEditor::Validate(const std::vector<ValidationStep>& steps)
{
    for (const ValidationStep& step : steps) {
        if (step.page < 0 || step.page >= static_cast<int>(m_Pages.size()))
            continue;
        CGroupPageModel& page = *m_Pages[static_cast<std::size_t>(step.page)];
        bool passed = true;
        if (step.kind == ValidationStep::Take) {
            page.m_nFocusRow = -1;
            passed = m_context.host.TakeControls(step.page) && page.CheckTexts(m_context);
        } else {
            page.m_nFocusRow = -1;
            passed = page.CheckRange(m_context);
        }
        if (!passed) {
            m_nShownTab = step.page;
            m_context.host.SelectTab(step.page);
            if (page.m_nFocusRow >= 0)
                m_context.host.FocusRow(step.page, page.m_nFocusRow);
            return false;
        }
    }
    return true;
}

bool CGroupEditor::ApplyGroup()
{
    if (!Validate(m_pLayout->apply))
        return false;
    for (auto& page : m_Pages)
        page->Store(m_context);
    m_context.doc.SetModifiedFlag(true);
    m_context.host.GroupStored(m_nGroup);
    return true;
}

void CGroupEditor::OnCancel()
{
    if (m_table.onCancel)
        m_table.onCancel(m_context);
}

bool CGroupEditor::OnParamButton(int page, int row)
{
    // A watchdog pass under way ends first, its window thread handling
    // events meanwhile, and none begins until the write has ended.
    CDriveTransferScope transfer;
    if (m_context.host.IsClosed())
        return false;
    return m_Pages[static_cast<std::size_t>(page)]->OnParamButton(row, m_context);
}

void CGroupEditor::OnTransmitGroup()
{
    CDriveSession& drive = m_context.drive;
    const int station = m_context.host.ChooseStation();
    if (station < 0)
        return;
    CDriveTransferScope transfer;
    if (m_context.host.IsClosed())
        return;
    const uint8_t address = static_cast<uint8_t>(station);
    bool locked = false;
    if (!drive.ReadPasswordState(address, locked))
        return;
    if (locked) {
        AfxMessageBox(FormatResString(IDS_PASSWORD_SET, station));
        return;
    }
    bool running = false;
    if (!drive.IsDriveRunning(address, running))
        return;
    if (running) {
        AfxMessageBox(IDS_DRIVE_RUNNING);
        return;
    }
    float version = 0;
    if (!drive.ReadParam0D01(address, version))
        return;
    m_context.doc.m_fDriveVersion = version;
    if (m_table.transmitGate) {
        if (unsigned refusal = m_table.transmitGate(m_context.modelCode, version)) {
            AfxMessageBox(refusal);
            return;
        }
    }
    TransmitGroup(station);
}

bool CGroupEditor::FillValues(std::vector<std::string>& values, std::vector<std::pair<int, int>>& sent)
{
    values.assign(kItemCount, std::string());
    sent.clear();
    for (std::size_t p = 0; p < m_Pages.size(); ++p) {
        CGroupPageModel& page = *m_Pages[p];
        page.SyncForm(m_context);
        for (int r = 0; r < page.RowCount(); ++r) {
            const PageRow& row = page.Row(r);
            if (row.shownNotStored || row.readOnly || row.kind == RowKind::Text)
                continue;
            std::string text;
            uint16_t word = 0;
            if (!page.RowText(r, text)) {
                // No selection, or a project text that is no number.
                m_nShownTab = static_cast<int>(p);
                m_context.host.SelectTab(m_nShownTab);
                page.RefuseRow(r, LoadResString(IDS_BEYOND_RANGE), m_context);
                return false;
            }
            if (!page.ValueForDrive(r, text, word, m_context)) {
                m_nShownTab = static_cast<int>(p);
                m_context.host.SelectTab(m_nShownTab);
                return false;
            }
            if (row.item >= 0 && row.item < kItemCount) {
                values[static_cast<std::size_t>(row.item)] = text;
                sent.emplace_back(static_cast<int>(p), r);
            }
        }
    }
    return true;
}

bool CGroupEditor::ConfirmResetCodes(const std::vector<std::string>& values,
                                     const std::vector<std::pair<int, int>>& sent)
{
    // A reset code kept in the project would reset the drive again on every
    // transmit of its group: the user says yes each time.
    for (const auto& [p, r] : sent) {
        const PageRow& row = m_Pages[static_cast<std::size_t>(p)]->Row(r);
        if (!row.resetCode || row.optionCodes.empty())
            continue;
        const std::string& code = values[static_cast<std::size_t>(row.item)];
        if (code == row.optionCodes.front())
            continue;
        if (AfxMessageBox(FormatResString(IDS_RESET_CODE_CONFIRM, code.c_str()), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    return true;
}

bool CGroupEditor::TransmitGroup(int station)
{
    const std::vector<ValidationStep>& steps =
        m_pLayout->transmit.empty() ? m_pLayout->apply : m_pLayout->transmit;
    if (!Validate(steps))
        return false;
    std::vector<std::string> values;
    std::vector<std::pair<int, int>> sent;
    if (!FillValues(values, sent))
        return false;
    for (auto& page : m_Pages)
        m_context.host.ShowControls(page->Page());
    if (!ConfirmResetCodes(values, sent))
        return false;
    if (m_table.beforeTransmit && !m_table.beforeTransmit(values, station, m_context))
        return false;
    if (!m_table.writer)
        return false;
    // The block writer gates on the model code fixed at opening and on the
    // version just read from the chosen station (the document's).
    GroupTransferContext transfer = m_context.drive.TransferContext(m_context.doc);
    transfer.m_nModelCode = m_context.modelCode;
    CParamGroupIO io(transfer);
    m_context.drive.m_strLastError.clear();
    const bool written = (io.*m_table.writer)(values, static_cast<uint8_t>(station));
    // A row counts as written only when an accepted frame carried its value:
    // the writer leaves rows out by its rules, and a failure ends it midway.
    // Such a row now holds in the drive what was sent: OK compares with it,
    // and its change mark goes.
    for (const auto& [p, r] : sent) {
        CGroupPageModel& page = *m_Pages[static_cast<std::size_t>(p)];
        const PageRow& row = page.Row(r);
        if (!io.Wrote(row.item))
            continue;
        page.m_strLast[static_cast<std::size_t>(r)] = values[static_cast<std::size_t>(row.item)];
        page.m_bWritten[static_cast<std::size_t>(r)] = true;
        const int position = page.FlagPosition(r, m_context.doc);
        if (position >= 0 && position < kItemCount)
            m_context.doc.m_Changed[m_nGroup][position] = 0;
    }
    m_context.host.FlagsChanged();
    if (!written) {
        AfxMessageBox(m_context.drive.m_strLastError);
        return false;
    }
    AfxMessageBox(IDS_WRITE_SUCCESSFUL);
    return true;
}
