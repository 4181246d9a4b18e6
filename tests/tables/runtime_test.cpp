// The runtime: class names, ownership, the application's exception handling, data-module
// creation, the error box and the program's start-to-halt order.
#include "runtime/application.h"
#include "runtime/data_module.h"
#include "runtime/program.h"
#include "tables/engine_error.h"
#include <atomic>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <windows.h>

namespace outer::inner {
class EMine : public Exception {
  public:
    using Exception::Exception;
};
} // namespace outer::inner

namespace {

TEST(ExceptionClassName, IsTheUnqualifiedDynamicType) {
    const Exception& engine = EDBEngineError(TEngineErrorReport{"m", {}});
    const Exception& nested = outer::inner::EMine("m");
    EXPECT_EQ(engine.ClassName(), "EDBEngineError");
    EXPECT_EQ(nested.ClassName(), "EMine");
    EXPECT_EQ(EAbort().ClassName(), "EAbort");
}

class Recorded : public TComponent {
  public:
    Recorded(TComponent* owner, std::string name, std::string& log) : TComponent(owner), log_(log) {
        SetName(std::move(name));
    }
    ~Recorded() override { log_ += Name() + ";"; }

  private:
    std::string& log_;
};

TEST(ComponentOwnership, OwnerDeletesWhatItStillOwnsLastAddedFirst) {
    std::string log;
    auto* owner = new Recorded(nullptr, "owner", log);
    new Recorded(owner, "a", log);
    auto* b = new Recorded(owner, "b", log);
    new Recorded(b, "b1", log);
    new Recorded(owner, "c", log);
    delete owner->Components(0);
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
    // Each records itself before its base part deletes what it owns.
    EXPECT_EQ(log, "a;owner;c;b;b1;");
}

TEST(MessageWithPeriod, AppendsWhenTheLastCharacterSortsAfterThePeriod) {
    const std::pair<std::string, std::string> cases[] = {
        {"Table is busy", "Table is busy."},
        {"Done.", "Done."},
        {"Why?", "Why?."},
        {"a, b,", "a, b,"},
        {"Stop!", "Stop!"},
        {"", ""},
        {"Caf\xE9", "Caf\xE9."},
        {"Line 7", "Line 7."},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(MessageWithPeriod(message), shown) << message;
}

struct Handled {
    int calls = 0;
    TComponent* sender = nullptr;
    std::string className;
    std::string message;
};

class ApplicationHandler : public ::testing::Test {
  protected:
    void SetUp() override {
        Application->OnException = [this](TComponent* sender, Exception& e) {
            ++handled_.calls;
            handled_.sender = sender;
            handled_.className = e.ClassName();
            handled_.message = e.Message();
        };
    }
    void TearDown() override { Application->OnException = nullptr; }

    template <class Raise> void HandleRaised(Raise raise, TComponent* sender) {
        try {
            raise();
        } catch (...) {
            Application->HandleException(sender);
        }
    }

    Handled handled_;
};

TEST_F(ApplicationHandler, DropsAbortAndPassesOthersToTheEvent) {
    TComponent sender(nullptr);
    HandleRaised([] { Abort(); }, &sender);
    EXPECT_EQ(handled_.calls, 0);

    HandleRaised([] { throw EDatabaseError("Missing TableName property"); }, &sender);
    EXPECT_EQ(handled_.calls, 1);
    EXPECT_EQ(handled_.sender, &sender);
    EXPECT_EQ(handled_.className, "EDatabaseError");
    EXPECT_EQ(handled_.message, "Missing TableName property");

    HandleRaised([] { throw std::runtime_error("not ours"); }, nullptr);
    EXPECT_EQ(handled_.calls, 2);
    EXPECT_EQ(handled_.message, "not ours");
}

class Module : public TDataModule {
  public:
    explicit Module(TComponent* owner) : TDataModule(owner) {
        SetName("dmTest");
        OnCreate = [this](TComponent*) {
            createdAfterConstruction = child != nullptr;
            throw EDatabaseError("creation failed");
        };
        child = new TComponent(this);
    }
    TComponent* child = nullptr;
    bool createdAfterConstruction = false;
};

TEST_F(ApplicationHandler, CreationFailureGoesToTheApplicationAndCreationCompletes) {
    TComponent owner(nullptr);
    Module* module = nullptr;
    ASSERT_NO_THROW(CreateDataModule(&owner, module));
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->createdAfterConstruction);
    EXPECT_EQ(handled_.calls, 1);
    EXPECT_EQ(handled_.sender, module);
    EXPECT_EQ(handled_.message, "creation failed");
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(DataModuleCreation, WithoutApplicationHandlerTheExceptionTravelsOn) {
    auto saved = ApplicationHandleException;
    ApplicationHandleException = nullptr;
    TComponent owner(nullptr);
    Module* module = nullptr;
    EXPECT_THROW(CreateDataModule(&owner, module), EDatabaseError);
    ApplicationHandleException = saved;
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 0);
}

struct ErrorBox {
    std::string caption;
    std::string text;
    bool errorIcon = false;
};

bool HasErrorIcon(HWND box) {
    HICON error = LoadIconA(nullptr, MAKEINTRESOURCEA(32513)); // IDI_ERROR
    for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
         child = FindWindowExA(box, child, "Static", nullptr))
        if (reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0)) == error)
            return true;
    return false;
}

// Waits for the box, reads it and presses OK.
ErrorBox AnswerErrorBox(const char* caption) {
    ErrorBox seen;
    for (int tries = 0; tries < 600; ++tries) {
        HWND box = FindWindowA("#32770", caption);
        if (box) {
            char text[512] = {};
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            seen.caption = caption;
            seen.text = text;
            seen.errorIcon = HasErrorIcon(box);
            SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            return seen;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return seen;
}

TEST(ShowException, ErrorBoxCaptionedWithTheTitle) {
    const char* title = "Runtime test: error box";
    Application->SetTitle(title);
    ErrorBox seen;
    std::thread answer([&] { seen = AnswerErrorBox(title); });
    try {
        throw EDatabaseError("tSubject: Cannot perform this operation on an open dataset");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    answer.join();
    EXPECT_EQ(seen.caption, title);
    EXPECT_EQ(seen.text, "tSubject: Cannot perform this operation on an open dataset.");
    EXPECT_TRUE(seen.errorIcon);
}

// The program's life, traced on one line: units, the initialisation hook, the data module's
// creation failing into the application's handler, then at halt the module's destruction
// before the units finalise, last initialised first.
void Trace(const char* step) {
    std::fputs(step, stderr);
    std::fputs(";", stderr);
}

TInitProc tracedPreviousInitProc = nullptr;

const TUnit kTraceUnit{
    "Trace",
    [] {
        Trace("init");
        tracedPreviousInitProc = InitProc;
        InitProc = [] {
            if (tracedPreviousInitProc)
                tracedPreviousInitProc();
            Trace("hook");
        };
    },
    [] { Trace("finalize"); },
};

class TracedModule : public TDataModule {
  public:
    explicit TracedModule(TComponent* owner) : TDataModule(owner) {
        OnCreate = [](TComponent*) {
            Trace("create");
            throw EDatabaseError("boom");
        };
    }
    ~TracedModule() override { Trace("destroy"); }
};

TracedModule* tracedModule = nullptr;

TEST(ProgramDeathTest, RunsFromUnitsToHaltInOrder) {
    EXPECT_EXIT(
        {
            Application->OnException = [](TComponent*, Exception& e) {
                Trace(("handled " + e.Message()).c_str());
            };
            RunDataModuleProgram({&kTraceUnit}, tracedModule);
        },
        ::testing::ExitedWithCode(0), "^init;hook;create;handled boom;destroy;finalize;$");
}

} // namespace
