// wordserver: the word-processor stand-in's program.
//   wordserver /regserver     registers it as "word.application" for this Windows (or Wine prefix)
//   wordserver /unregserver   removes that registration again
//   wordserver /automation    how COM starts it: serves one application object
#include "ServerMain.h"
#include "StandIn.h"
#include "WordObjects.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    using namespace xlserver;
    const ServerProgram program{
        {{WordProgId, WordClsid, L"Tavelin word-processor stand-in",
          [](std::shared_ptr<ServerState>& state) {
              auto word = std::make_shared<WordState>();
              state = word;
              return NewWordApplication(word);
          }}},
        L"wordserver /regserver | /unregserver: registers or removes the word-processor stand-in "
        L"(\"word.application\"); COM starts it with /automation."};
    return RunServerProgram(program);
}
