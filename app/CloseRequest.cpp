#include "app/CloseRequest.h"

bool CloseRequest::granted(bool& exitConfirmation, bool notSaved)
{
    if (ending_) {
        return true;
    }
    if (asking_) {
        return false;
    }
    if (!exitConfirmation || !notSaved) {
        return true;
    }
    struct AskingFlag {
        bool& flag;
        explicit AskingFlag(bool& f) : flag(f) { flag = true; }
        ~AskingFlag() { flag = false; }
    } asking{asking_};

    ModalBracket bracket(host_, ModalWindows::exitQuestion.repaints);
    ExitQuestionAnswer answer;
    bracket.runWindow(
        ModalWindows::exitQuestion, [](const std::string&) { return true; },
        [&] {
            answer = host_.askExitQuestion(ModalWindows::exitQuestion.caption);
            return 0;
        },
        [] {});
    // Ended from outside while open: nobody answered, so the setting stays as it was.
    if (!ending_) {
        exitConfirmation = !answer.doNotShowAgain;
    }
    const bool exit = ending_ || answer.exitAnyway;
    if (exit) {
        bracket.programEnds();
    }
    return exit;
}

void CloseRequest::endWithoutAsking()
{
    ending_ = true;
    if (asking_) {
        host_.abandonExitQuestion();
    }
}
