// The COM owner on a counting object, and EnsureCom's pairing seen from fresh threads.
#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/ComOwner.h"

namespace {

// The owner can only be moved, and a temporary scope cannot be asked (it would already have
// uninitialised again).
static_assert(!std::is_copy_constructible<ComOwner<IUnknown>>::value, "an owner is never copied");
static_assert(!std::is_copy_assignable<ComOwner<IUnknown>>::value, "an owner is never copied");
static_assert(std::is_nothrow_move_constructible<ComOwner<IUnknown>>::value, "an owner moves");
static_assert(!std::is_constructible<bool, ComScope&&>::value, "a temporary scope cannot be asked");
static_assert(std::is_constructible<bool, const ComScope&>::value, "a held scope can be asked");
static_assert(!std::is_copy_constructible<ComScope>::value, "a scope is never copied");

// Counts its releases; starts with the one reference its owner adopts.
class Counted : public IUnknown
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)++refs; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        ++releases;
        return (ULONG)--refs;
    }
    LONG refs = 1;
    int releases = 0;
};

typedef ComOwner<IUnknown> Owner;

TEST(ComOwner, ReleasesEachPointerExactlyOnce)
{
    struct Case
    {
        const char* what;
        std::function<void(Owner& owner, Counted& a, Counted& b)> act; // owner holds a
        int releasesOfA;
        int releasesOfB;
    } cases[] = {
        {"destroyed", [](Owner&, Counted&, Counted&) {}, 1, 0},
        {"reset to nothing",
         [](Owner& o, Counted&, Counted&) {
             o.Reset();
             EXPECT_EQ(nullptr, o.Get());
         },
         1, 0},
        {"reset to another", [](Owner& o, Counted&, Counted& b) { o.Reset(&b); }, 1, 1},
        {"put for an out-parameter",
         [](Owner& o, Counted& a, Counted& b) {
             IUnknown** slot = o.Put();
             EXPECT_EQ(1, a.releases) << "the held pointer goes before the slot is handed out";
             EXPECT_EQ(nullptr, *slot);
             *slot = &b;
             EXPECT_EQ(&b, o.Get());
         },
         1, 1},
        {"put twice, filled once",
         [](Owner& o, Counted&, Counted& b) {
             o.Put();
             *o.Put() = &b;
         },
         1, 1},
        {"detached",
         [](Owner& o, Counted& a, Counted&) {
             EXPECT_EQ(&a, o.Detach());
             EXPECT_EQ(nullptr, o.Get());
         },
         0, 0},
        {"moved into a new owner",
         [](Owner& o, Counted& a, Counted&) {
             Owner other(std::move(o));
             EXPECT_EQ(nullptr, o.Get());
             EXPECT_EQ(&a, other.Get());
             EXPECT_EQ(0, a.releases);
         },
         1, 0},
        {"moved over a holding owner",
         [](Owner& o, Counted& a, Counted& b) {
             Owner other(&b);
             other = std::move(o);
             EXPECT_EQ(1, b.releases);
             EXPECT_EQ(&a, other.Get());
         },
         1, 1},
        {"moved onto itself",
         [](Owner& o, Counted& a, Counted&) {
             Owner& same = o;
             o = std::move(same);
             EXPECT_EQ(&a, o.Get());
         },
         1, 0},
    };
    for (const Case& c : cases) {
        Counted a, b;
        {
            Owner owner(&a);
            c.act(owner, a, b);
        }
        EXPECT_EQ(c.releasesOfA, a.releases) << c.what;
        EXPECT_EQ(c.releasesOfB, b.releases) << c.what;
    }
}

// The calling thread's COM as a word, asked without leaving a trace: "none", "sta" or "mta".
std::string ComState()
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (hr == RPC_E_CHANGED_MODE)
        return "sta";
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_OK ? "none" : hr == S_FALSE ? "mta" : "error";
}

std::string Usable(const ComScope& scope) { return scope ? "usable" : "unusable"; }

TEST(EnsureCom, UninitialisesOnlyWhatItInitialised)
{
    typedef std::vector<std::string> Trace;
    struct Case
    {
        const char* what;
        std::function<void(Trace&)> run; // on a fresh thread
        Trace expected;
    } cases[] = {
        {"a fresh worker ends with COM gone",
         [](Trace& t) {
             {
                 ComScope com = EnsureCom();
                 t.push_back(Usable(com));
                 t.push_back(ComState());
             }
             t.push_back(ComState());
         },
         {"usable", "sta", "none"}},
        {"nested scopes: the inner one leaves the outer's COM",
         [](Trace& t) {
             ComScope outer = EnsureCom();
             {
                 ComScope inner = EnsureCom();
                 t.push_back(Usable(inner));
             }
             t.push_back(ComState());
             outer = ComScope();
             t.push_back(ComState());
         },
         {"usable", "sta", "none"}},
        {"a moved scope uninitialises once, where it ends",
         [](Trace& t) {
             ComScope kept;
             {
                 ComScope made = EnsureCom();
                 kept = std::move(made);
             }
             t.push_back(Usable(kept));
             t.push_back(ComState());
             kept = ComScope();
             t.push_back(ComState());
         },
         {"usable", "sta", "none"}},
        {"a thread initialised by someone else keeps its COM",
         [](Trace& t) {
             CoInitialize(nullptr);
             {
                 ComScope com = EnsureCom();
                 t.push_back(Usable(com));
             }
             t.push_back(ComState());
             CoUninitialize();
             t.push_back(ComState());
         },
         {"usable", "sta", "none"}},
        {"a thread in the multi-threaded apartment stays in it",
         [](Trace& t) {
             CoInitializeEx(nullptr, COINIT_MULTITHREADED);
             {
                 ComScope com = EnsureCom();
                 t.push_back(Usable(com));
             }
             t.push_back(ComState());
             CoUninitialize();
             t.push_back(ComState());
         },
         {"usable", "mta", "none"}},
    };
    for (const Case& c : cases) {
        Trace trace;
        std::thread worker([&] { c.run(trace); });
        worker.join();
        EXPECT_EQ(c.expected, trace) << c.what;
    }
}

} // namespace
