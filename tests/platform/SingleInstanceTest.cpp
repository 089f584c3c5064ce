#include "platform/x11/SingleInstance.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include <csignal>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void ensureCoreApplication()
{
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        new QCoreApplication(argc, argv);
    }
}

} // namespace

TEST(SingleInstance, ALaterStartOnTheSameDisplayRaisesTheFirstAndOtherDisplaysRunTheirOwn)
{
    ensureCoreApplication();
    TempFolder runtime;
    ::chmod(runtime.path.c_str(), 0700);
    QString folder = QString::fromStdString(runtime.path.string());

    SingleInstance first(":9007", folder);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(":9007.0", folder);
    EXPECT_EQ(second.claim(), SingleInstance::Claim::AlreadyRunning) << "screen 0 of the same display";
    EXPECT_TRUE(raised.count() == 1 || raised.wait(3000)) << "the running instance must be asked to come forward";
    SingleInstance elsewhere(":9008", folder);
    EXPECT_EQ(elsewhere.claim(), SingleInstance::Claim::First);

    // A runtime folder that others may enter is not trusted with the lock.
    ::chmod(runtime.path.c_str(), 0755);
    SingleInstance shared(":9009", folder);
    EXPECT_EQ(shared.claim(), SingleInstance::Claim::Unavailable);
}

TEST(SingleInstance, AKilledInstanceDoesNotBlockTheNextStart)
{
    ensureCoreApplication();
    TempFolder runtime;
    ::chmod(runtime.path.c_str(), 0700);
    QString folder = QString::fromStdString(runtime.path.string());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance instance(":9003", folder);
        char ok = instance.claim() == SingleInstance::Claim::First ? 'y' : 'n';
        [[maybe_unused]] ssize_t n = ::write(ready[1], &ok, 1);
        for (;;) {
            ::pause();
        }
    }
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    SingleInstance next(":9003", folder);
    EXPECT_EQ(next.claim(), SingleInstance::Claim::First) << "the lock and socket left by a killed instance";
}

TEST(SingleInstance, DisplayKeysAreFileNameSafe)
{
    EXPECT_EQ(SingleInstance::displayKey(":1"), "_1");
    EXPECT_EQ(SingleInstance::displayKey(":1.0"), "_1");
    EXPECT_EQ(SingleInstance::displayKey("localhost:10.2"), "localhost_10");
    EXPECT_EQ(SingleInstance::displayKey("../../x:0"), ".._.._x_0");
    EXPECT_EQ(SingleInstance::displayKey(""), "default");
}
