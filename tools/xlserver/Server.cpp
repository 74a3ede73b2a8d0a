// xlserver: the spreadsheet stand-in's program.
//   xlserver /regserver     registers it as "excel.application" for this Windows (or Wine prefix)
//   xlserver /unregserver   removes that registration again
//   xlserver /automation    how COM starts it: serves one application object
#include "Objects.h"
#include "ServerMain.h"
#include "StandIn.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace xlserver;
    const ServerProgram program{
        {{ProgId, StandInClsid, L"Tavelin spreadsheet stand-in",
          [](std::shared_ptr<ServerState>& state) {
              auto app = std::make_shared<AppState>();
              state = app;
              return NewApplication(app);
          }}},
        L"xlserver /regserver | /unregserver: registers or removes the spreadsheet stand-in "
        L"(\"excel.application\"); COM starts it with /automation."};
    return RunServerProgram(program);
}
