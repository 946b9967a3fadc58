#include "startup.h"

#include "about.h"
#include "app.h"
#include "encode/all_files_type.h"
#include "encode/window1.h"
#include "main_menu_bar.h"

const std::vector<Initializer>& ProgramInitializers() {
    static const std::vector<Initializer> entries = {
        &App::ctblinit,
        &Window1::ctblinit,
        &About::ctblinit,
        &MainMenuBar::implicitInstance_Init,
        &MainMenuBar::ctblinit,
        &ALLFILESTYPE::pALLFILES_Init,
        &ALLFILESTYPE::pAllFileTypes_Init,
    };
    return entries;
}

namespace {
// Runs one step of the process's own sequence. Each step runs whatever the
// one before left behind; the first exception is the one that is reported.
template <class Step> void RunStep(std::exception_ptr& pending, Step step) {
    try {
        step();
    } catch (...) {
        if (!pending)
            pending = std::current_exception();
    }
}
} // namespace

int RunProgram() {
    std::exception_ptr pending;
    RunStep(pending, [] { RuntimeInit(); });
    RunStep(pending, [] { RuntimePerformInitializers(ProgramInitializers()); });
    try {
        Main(pending);
    } catch (...) {
        // Only the report itself can fail here; the run ends all the same.
    }
    RuntimePerformFinalizers();
    return RuntimeExit();
}

void Main(std::exception_ptr pending) {
    if (!pending) {
        try {
            RuntimeSetExceptionHelper(&CallFunctionWithExceptionHandling);
            EarlyStartup();
            RunFrameworkInitialization(&LateStartup);
            RuntimeRun();
            return;
        } catch (...) {
            // Of any kind: what escapes start-up or the event loop is
            // reported, never left to end the process unreported.
            pending = std::current_exception();
        }
    }
    UnhandledException(pending);
}

void EarlyStartup() {
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
}

void InitFileTypes() {
    ALLFILESTYPE::Initialize();
}

void NewAppInstance() {
    Ref<App> app = RuntimeNewObject<App>();
    app->Constructor();
    RequireObject(app, "App")->x_SetVersionData(1, 0, 0, 0, 0, "", "", "");
    {
        Ref<MainMenuBar> bar = MainMenuBar::Instance();
        RequireObject(app, "App")->MenuBar(Ref<::MenuBar>(bar));
    }
    RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers() {
    const std::pair<const char*, bool (App::*)()> bindings[] = {
        {"AboutTamzel", &App::AboutTamzel_Action},
        {"Email", &App::Email_Action},
        {"FileEncode", &App::FileEncode_Action},
    };
    for (const auto& [name, handler] : bindings) {
        Ref<App> app = App::Instance();
        RequireObject(app, "App");
        Ref<MethodDelegate> delegate = RuntimeCreateDelegate(app.get(), handler);
        app->AddMenuHandler(name, delegate->BareFunction());
    }
}

void LateStartup() {
    MakeDefaultView();
}

void MakeDefaultView() {
    Ref<Window1> window = Window1::Instance();
}
