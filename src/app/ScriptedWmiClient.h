// A WMI client that answers query texts from a table, for tests and
// benchmarks: computers that cannot exist here, and answers WMI never gives
// on this machine (absent and null properties, failures mid-walk).
#pragma once

#include "WmiClient.h"
#include <map>
#include <mutex>
#include <utility>

// One object of an answer; a property that is not listed reads as null.
using TScriptedObject = std::vector<std::pair<String, TWmiValue>>;

// The answer to one query text.
struct TScriptedAnswer {
    std::vector<TScriptedObject> Objects;
    // Below 0 the query succeeds; otherwise it fails after handing over this
    // many objects (0: the query itself fails).
    int FailAfter = -1;

    static TScriptedAnswer Failure(int after = 0) { return {{}, after}; }
};

struct TScriptedCall {
    String Computer;
    TWmiNamespace Namespace = wnCimv2;
    String Query;
};

// The answers of one computer. A query text that has no answer fails, as a
// class the computer lacks would.
class TScriptedComputer {
public:
    TScriptedComputer& Answer(TWmiNamespace ns, const String& wql, TScriptedAnswer answer);
    const TScriptedAnswer* Find(TWmiNamespace ns, const String& wql) const;

private:
    std::map<std::pair<TWmiNamespace, String>, TScriptedAnswer> answers_;
};

class TScriptedWmiClient : public IWmiClient {
public:
    // The computer of this name, created reachable with no answers. The name
    // "*" stands for every computer not scripted by name; any other computer
    // cannot be reached. Script before connecting: the table is read unlocked.
    TScriptedComputer& Computer(const String& name);

    std::unique_ptr<IWmiConnection> Connect(const String& computer) override;

    // Every query asked so far, in order (safe to read from any thread).
    std::vector<TScriptedCall> Calls() const;

    // Runs on the querying thread before each answer, for example to hold a
    // query in flight until a test lets it go.
    std::function<void(const TScriptedCall& call)> OnQuery;

private:
    friend class TScriptedConnection;
    void Record(TScriptedCall call);

    struct TNameLess {
        bool operator()(const String& a, const String& b) const { return CompareText(a, b) < 0; }
    };
    std::map<String, TScriptedComputer, TNameLess> computers_;
    mutable std::mutex callsLock_;
    std::vector<TScriptedCall> calls_;
};
