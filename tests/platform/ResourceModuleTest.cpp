#include "platform/MessageBox.h"
#include "platform/ResourceModule.h"
#include "tests/common/MessageRecorder.h"

#include <gtest/gtest.h>

TEST(ResourceModule, LooksTextsUpById)
{
    EXPECT_EQ(LoadResString(61478), "TimeOut!");
    EXPECT_EQ(FormatResString(61480, 7), "Station Num 7");
    EXPECT_EQ(LoadResString(1), "");
    EXPECT_FALSE(HasResString(1));
}

TEST(MessageBox, RecorderCapturesTextAndAnswers)
{
    MessageRecorder recorder;
    recorder.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox("Really?", MB_YESNO), IDNO);
    EXPECT_EQ(AfxMessageBox(61479u), IDOK);
    ASSERT_EQ(recorder.Messages().size(), 2u);
    EXPECT_EQ(recorder.Messages()[0].type, unsigned(MB_YESNO));
    EXPECT_EQ(recorder.Texts()[1], "Communication error!");
}
