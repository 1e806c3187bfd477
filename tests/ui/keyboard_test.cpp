#include "window_fixture.h"

// What keys and the window's frame do: Enter, the command keys and F1, and
// ending the window by Escape or its close button, with the question before
// typed values are thrown away.
namespace veltra::testing {
namespace {

constexpr int noButton = 0;

struct KeyCase {
    const char* name;
    bool loaded;
    int focusButton;  // noButton: the focus stays in the edit just typed in
    const char* keys;
    int openQuestions;
    int saveQuestions;
    bool saved;
    bool about;
};

class KeyPress : public WindowTest, public ::testing::WithParamInterface<KeyCase> {};

// The user types a valid clock and presses a key. Only the key's own command
// runs; Enter in an edit runs none and never ends the window.
TEST_P(KeyPress, RunsItsCommandAndNothingElse)
{
    const KeyCase& c = GetParam();
    const auto path = writeImage("keys.rom", ImageSpec{});
    if (c.loaded)
        open(path);
    typeInto(frequencyTab, res::gpuClockEditId, "1100");
    if (c.focusButton != noButton)
        button(c.focusButton).SetFocus();

    press(c.keys);

    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(prompts.openQuestions - (c.loaded ? 1 : 0), c.openQuestions);
    EXPECT_EQ(prompts.saveQuestions, c.saveQuestions);
    EXPECT_EQ(prompts.modalTitles, c.about ? std::vector<std::string>{"About Veltra"} : std::vector<std::string>{});
    BiosInfo onDisk;
    ASSERT_TRUE(loadRomFile(path, onDisk));
    EXPECT_EQ(onDisk.gpuClock.value, c.saved ? 1100.0f : 1006.0f);
    EXPECT_EQ(pageEdit(frequencyTab, res::gpuClockEditId).GetWindowText(), c.saved ? "1100.00" : "1100");
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyPress,
    ::testing::Values(KeyCase{"ReturnInAnEdit", true, noButton, "Return", 0, 0, false, false},
                      KeyCase{"EnterInAnEdit", true, noButton, "Enter", 0, 0, false, false},
                      KeyCase{"CtrlO", true, noButton, "Ctrl+O", 1, 0, false, false},
                      KeyCase{"CtrlS", true, noButton, "Ctrl+S", 0, 0, true, false},
                      KeyCase{"CtrlShiftS", true, noButton, "Ctrl+Shift+S", 0, 1, false, false},
                      KeyCase{"F1", true, noButton, "F1", 0, 0, false, true},
                      KeyCase{"ReturnOnOpen", true, res::openBiosButtonId, "Return", 1, 0, false, false},
                      KeyCase{"ReturnOnSave", true, res::saveBiosButtonId, "Return", 0, 0, true, false},
                      KeyCase{"EnterOnSaveAs", true, res::saveBiosAsButtonId, "Enter", 0, 1, false, false},
                      // Saving needs a file: the keys of the disabled buttons do nothing.
                      KeyCase{"CtrlSBeforeALoad", false, noButton, "Ctrl+S", 0, 0, false, false},
                      KeyCase{"CtrlShiftSBeforeALoad", false, noButton, "Ctrl+Shift+S", 0, 0, false, false},
                      KeyCase{"CtrlOBeforeALoad", false, noButton, "Ctrl+O", 1, 0, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

enum class Ending { Escape, CloseButton };

struct EndCase {
    const char* name;
    bool loaded;
    const char* typed;  // into the GPU clock; null: nothing typed
    bool saveFirst;     // Ctrl+S before ending
    Ending ending;
    std::optional<bool> answer;  // to "Discard unsaved edits?"; unset: not asked
};

class EndWindow : public WindowTest, public ::testing::WithParamInterface<EndCase> {};

// The window ends at once unless a page's text differs from what the last
// load showed; then it asks, and No keeps everything as it was.
TEST_P(EndWindow, AsksOnlyWhenTypedValuesWouldBeLost)
{
    const EndCase& c = GetParam();
    if (c.loaded)
        open(writeImage("end.rom", ImageSpec{}));
    if (c.typed)
        typeInto(frequencyTab, res::gpuClockEditId, c.typed);
    if (c.saveFirst)
        press("Ctrl+S");
    if (c.answer)
        prompts.yesNoAnswers.push_back(*c.answer);
    const auto before = visibleState();
    const std::vector<std::string> messagesBefore = prompts.messages;

    if (c.ending == Ending::Escape)
        press("Escape");
    else
        closeWindow();

    EXPECT_EQ(prompts.questions,
              c.answer ? std::vector<std::string>{"Discard unsaved edits?"} : std::vector<std::string>{});
    EXPECT_EQ(prompts.messages, messagesBefore);
    const bool ends = c.answer.value_or(true);
    EXPECT_EQ(dlg.IsWindowVisible(), !ends);
    if (ends) {
        EXPECT_EQ(dlg.ModalResult(), commandCancel);
    } else {
        EXPECT_EQ(visibleState(), before);
        EXPECT_EQ(CWnd::GetFocus(), &pageEdit(frequencyTab, res::gpuClockEditId));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, EndWindow,
    ::testing::Values(EndCase{"NothingLoadedEscape", false, nullptr, false, Ending::Escape, std::nullopt},
                      // Values typed before any load could not be saved anyway.
                      EndCase{"TypedBeforeALoadEscape", false, "1100", false, Ending::Escape, std::nullopt},
                      EndCase{"UneditedEscape", true, nullptr, false, Ending::Escape, std::nullopt},
                      EndCase{"UneditedClose", true, nullptr, false, Ending::CloseButton, std::nullopt},
                      EndCase{"TypedBackToTheLoadedText", true, "1006.00", false, Ending::Escape, std::nullopt},
                      EndCase{"EditedEscapeNo", true, "1100", false, Ending::Escape, false},
                      EndCase{"EditedEscapeYes", true, "1100", false, Ending::Escape, true},
                      EndCase{"EditedCloseNo", true, "1100", false, Ending::CloseButton, false},
                      EndCase{"EditedCloseYes", true, "1100", false, Ending::CloseButton, true},
                      EndCase{"SavedEditsEscape", true, "1100", true, Ending::Escape, std::nullopt},
                      // A save a rule refused keeps the typed value unsaved.
                      EndCase{"RefusedSaveEscapeNo", true, "5", true, Ending::Escape, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltra::testing
