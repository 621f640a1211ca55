#pragma once
// The program started through its application object with the model dialog
// and the project file dialogs answered, for tests that drive the main window
// with real keys and windows under Xvfb.

#include "controls/CJTreeCtrl.h"
#include "controls/XListCtrl.h"
#include "document/D390DocData.h"
#include "document/ModelSelectDlg.h"
#include "editor/ParamGroupDlg.h"
#include "platform/FileChooser.h"
#include "res/CommandIds.h"
#include "shell/ChildFrame.h"
#include "tests/controlsgui/ControlsGuiSupport.h"
#include "tests/shellgui/AppFixture.h"
#include "view/D390View.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/uiaction.h>

#include <functional>

class MainWindowFixture : public AppFixture {
protected:
    static constexpr const char* kPlainModel = "D390-2P2-Hxx";

    void SetUp() override
    {
        AppFixture::SetUp();
        SetFileChooser([this](const FileChoice&, std::string& path) {
            if (m_path.empty())
                return false;
            path = m_path;
            return true;
        });
        SetModalAnswer([this](wxDialog* dialog) {
            if (auto* models = dynamic_cast<CModelSelectDlg*>(dialog)) {
                dynamic_cast<wxChoice*>(models->FindWindow(CModelSelectDlg::IDC_MODEL))->SetStringSelection(kPlainModel);
                Click(models, wxID_OK);
                return models->GetReturnCode();
            }
            if (m_answer)
                return m_answer(dialog);
            ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle().utf8_string();
            return int(wxID_CANCEL);
        });
    }

    // The frame is gone before the document manager it refers to.
    void TearDown() override
    {
        if (m_app && m_app->m_pMainFrame) {
            for (wxDocument* document : m_app->m_pDocManager->GetDocumentsVector())
                document->Modify(false);
            m_app->m_pDocManager->Clear(true);
            delete m_app->m_pMainFrame;
            m_app->m_pMainFrame = nullptr;
            wxTheApp->ProcessPendingEvents();
        }
        AppFixture::TearDown();
        SetFileChooser(nullptr);
    }

    static void Click(wxWindow* dialog, int id)
    {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(dialog->FindWindow(id));
        dialog->FindWindow(id)->GetEventHandler()->ProcessEvent(click);
    }

    void StartWithProject()
    {
        ASSERT_TRUE(Start());
        Command(ID_FILE_NEW);
        ASSERT_NE(View(), nullptr);
        Frame().Raise();
        Pump(300);
    }

    // A new project of the plain model saved at m_home + name, with 00-01's
    // set value changed to value.
    std::string SaveProject(const std::string& name, const std::string& value)
    {
        Command(ID_FILE_NEW);
        EXPECT_NE(Doc(), nullptr);
        if (!Doc())
            return {};
        Doc()->FindParam(0, 1)->m_strValue = value;
        View()->GetDocument()->Modify(true);
        m_path = m_home + name;
        Command(ID_FILE_SAVE);
        return m_path;
    }

    CD390View* View() { return Frame().GetActiveProjectView(); }
    CD390DocData* Doc() { return View() ? View()->GetDocData() : nullptr; }
    wxWindow* Tree() { return Frame().m_wndTree; }
    wxWindow* List() { return View() ? View()->GetList() : nullptr; }

    // True when the focus is in window or one of its children.
    static bool FocusIn(wxWindow* window)
    {
        for (wxWindow* focus = wxWindow::FindFocus(); focus; focus = focus->GetParent())
            if (focus == window)
                return true;
        return false;
    }

    // A key pressed on the keyboard (through the X server), modifiers held.
    void Key(int code, int modifiers = wxMOD_NONE)
    {
        wxUIActionSimulator sim;
        sim.Char(code, modifiers);
        Pump(200);
    }

    std::string m_path;
    // Answers the modal dialogs besides the model choice.
    std::function<int(wxDialog*)> m_answer;
};
