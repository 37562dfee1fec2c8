#include <gtest/gtest.h>

#include "EditorSession.h"

namespace {

TEST(EditorHelp, HelpButtonExplainsKeysSegmentsImportAndWhereTheReadmeIs) {
    EditorSession session;
    const EditorRun run = session.Run(kThreeSegments, "click ID_DEFAULT_HELP\ndump\n");
    EXPECT_EQ(run.error, "");
    const std::vector<std::string> messages = run.dumps.at(0).Messages();
    ASSERT_EQ(messages.size(), 1u);
    const std::string& help = messages[0];
    EXPECT_EQ(help.rfind("information: ", 0), 0u) << help;
    for (const char* topic : {"Enter in X", "Alt+U", "Insert Below", "Update", "Import From File",
                              "decimal comma", "README.md", "vantrel(1)"})
        EXPECT_NE(help.find(topic), std::string::npos) << topic;
    EXPECT_EQ(run.messages.rfind("info: ", 0), 0u) << run.messages;
}

}  // namespace
