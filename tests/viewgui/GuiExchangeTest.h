#pragma once
// Window tests of the exchange and printing commands: the exchange fixture
// with wx's log sent to standard error, so that a logged warning is seen and
// never waits in a message box at the end of the run.

#include "tests/view/ExchangeTestSupport.h"

#include <wx/log.h>

class GuiExchangeTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        ExchangeTest::SetUp();
        m_previousLog = wxLog::SetActiveTarget(&m_log);
    }
    void TearDown() override
    {
        wxLog::SetActiveTarget(m_previousLog);
        ExchangeTest::TearDown();
    }

    wxLogStderr m_log;
    wxLog* m_previousLog = nullptr;
};
