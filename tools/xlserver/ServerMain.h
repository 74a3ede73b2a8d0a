// The program part every stand-in server shares: registration of its classes
// under their ProgIDs, and serving one application object per process as COM
// starts it.
#pragma once
#include "Dispatch.h"
#include <memory>
#include <vector>

namespace xlserver {

struct ServedClass {
    const wchar_t* progId;
    CLSID clsid;
    const wchar_t* description;
    // Makes the object COM asked for, with one reference for the caller,
    // and sets the state its objects share.
    std::function<IDispatch*(std::shared_ptr<ServerState>& state)> create;
};

struct ServerProgram {
    std::vector<ServedClass> classes;
    const wchar_t* usage;
    // Registration may take over a ProgID another server owns, and gives it
    // back on unregistration; without it such a ProgID is left alone.
    bool mayReplace = false;
};

// The program's main: "/regserver", "/unregserver", or "/automation <n>"
// (COM starting it for class n).
int RunServerProgram(const ServerProgram& program);

} // namespace xlserver
