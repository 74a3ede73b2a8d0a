#include "ScriptedWmiClient.h"

TScriptedComputer& TScriptedComputer::Answer(TWmiNamespace ns, const String& wql,
                                             TScriptedAnswer answer)
{
    answers_[{ns, wql}] = std::move(answer);
    return *this;
}

const TScriptedAnswer* TScriptedComputer::Find(TWmiNamespace ns, const String& wql) const
{
    auto found = answers_.find({ns, wql});
    return found == answers_.end() ? nullptr : &found->second;
}

namespace {

class TScriptedObjectView : public TWmiObject {
public:
    explicit TScriptedObjectView(const TScriptedObject& object) : object_(object) {}

    TWmiValue Get(const wchar_t* name) const override
    {
        for (const auto& [property, value] : object_)
            if (CompareStringOrdinal(property.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL)
                return value;
        return {};
    }

private:
    const TScriptedObject& object_;
};

[[noreturn]] void Fail(const String& what, const wchar_t* code)
{
    throw EOleSysError(what + L" failed with WMI error " + code);
}

} // namespace

class TScriptedConnection : public IWmiConnection {
public:
    TScriptedConnection(TScriptedWmiClient& client, const TScriptedComputer& computer, String name)
        : client_(client), computer_(computer), name_(std::move(name))
    {
    }

    void ExecQuery(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit) override
    {
        TScriptedCall call{name_, ns, wql};
        if (client_.OnQuery)
            client_.OnQuery(call);
        client_.Record(std::move(call));
        const TScriptedAnswer* answer = computer_.Find(ns, wql);
        if (!answer)
            Fail(L"Query \"" + wql + L"\"", L"0x80041010");  // invalid class
        std::size_t handed = 0;
        for (const TScriptedObject& object : answer->Objects) {
            if (answer->FailAfter >= 0 && handed == static_cast<std::size_t>(answer->FailAfter))
                break;
            visit(TScriptedObjectView(object));
            ++handed;
        }
        if (answer->FailAfter >= 0)
            Fail(L"Reading the answer of \"" + wql + L"\"", L"0x80041001");  // generic failure
    }

private:
    TScriptedWmiClient& client_;
    const TScriptedComputer& computer_;
    String name_;
};

TScriptedComputer& TScriptedWmiClient::Computer(const String& name) { return computers_[name]; }

std::unique_ptr<IWmiConnection> TScriptedWmiClient::Connect(const String& computer)
{
    auto found = computers_.find(computer);
    if (found == computers_.end())
        found = computers_.find(L"*");
    if (found == computers_.end())
        Fail(L"Connecting to \\\\" + computer + L"\\root\\cimv2",
             L"0x800706BA");  // RPC server unavailable
    return std::make_unique<TScriptedConnection>(*this, found->second, computer);
}

std::vector<TScriptedCall> TScriptedWmiClient::Calls() const
{
    std::lock_guard<std::mutex> lock(callsLock_);
    return calls_;
}

void TScriptedWmiClient::Record(TScriptedCall call)
{
    std::lock_guard<std::mutex> lock(callsLock_);
    calls_.push_back(std::move(call));
}
