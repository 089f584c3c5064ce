// The Remote Control's close request: granted at once, or after the exit question while the last
// capture is neither saved nor printed.
#pragma once

#include "app/ModalBracket.h"

#include <string>

// What the exit question came back with.
struct ExitQuestionAnswer {
    // "&Yes".
    bool exitAnyway = false;
    // "Do not show this message again" was ticked.
    bool doNotShowAgain = false;
};

class CloseRequestHost : public ModalHost {
public:
    // Creates the exit question with `caption`, shows it modally and destroys it.
    virtual ExitQuestionAnswer askExitQuestion(const std::string& caption) = 0;
    // Closes an open exit question without an answer.
    virtual void abandonExitQuestion() = 0;
};

class CloseRequest {
public:
    explicit CloseRequest(CloseRequestHost& host) : host_(host) {}

    // Whether the program may end now. The question's check box, whatever the answer, decides
    // `exitConfirmation` from then on. While the question is open a second request is refused,
    // so questions never stack.
    bool granted(bool& exitConfirmation, bool notSaved);

    // The desktop session is ending or the program was told to terminate: an open question is
    // closed unanswered (the confirmation setting stays as it was) and this and every later
    // request is granted without asking.
    void endWithoutAsking();

    bool questionOpen() const { return asking_; }
    bool ending() const { return ending_; }

private:
    CloseRequestHost& host_;
    bool asking_ = false;
    bool ending_ = false;
};
