#include "app/CountdownSequence.h"

void CountdownSequence::arm()
{
    ticksLeft_ = kTicks;
}

void CountdownSequence::disarm()
{
    host_.stopTicking();
    host_.showRestingPicture();
}

void CountdownSequence::start()
{
    host_.showCountdownPicture(1);
    if (!host_.ticking()) {
        host_.startTicking();
    }
}

void CountdownSequence::tick()
{
    if (ticksLeft_ >= 2 && ticksLeft_ <= kTicks) {
        host_.showCountdownPicture(9 - ticksLeft_);
    }
    const int before = ticksLeft_--;
    if (before != 1) {
        return;
    }
    host_.showCountdownPicture(8);
    host_.wait(kFinalWait);
    host_.stopTicking();
    host_.raiseTimerButton();
    host_.capture();
    host_.showRestingPicture();
}
