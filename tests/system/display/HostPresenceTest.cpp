// The game side's view of whether the plug-in runs in Winamp: the named
// event the Winamp side holds, one per DLL file (here, linked into the test
// program, the program's own file).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <string_view>

#include "common/UniqueResource.h"
#include "display/HostPresence.h"
#include "support/TestSupport.h"

namespace vireo {
namespace {

TEST(HostPresenceTest, FollowsTheEventTheHostHolds) {
    EXPECT_FALSE(hostIsPresent());
    holdHostPresence();
    holdHostPresence();  // one handle, however often
    EXPECT_TRUE(hostIsPresent());
    releaseHostPresence();
    EXPECT_FALSE(hostIsPresent());
    releaseHostPresence();
    EXPECT_FALSE(hostIsPresent());
}

// A Winamp run as administrator makes an event that a game without elevation
// may not open; it still tells that the host runs. An empty access list
// stands in for the administrator's.
TEST(HostPresenceTest, AnEventThatRefusesAccessStillCounts) {
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ACL acl;
    ASSERT_TRUE(::InitializeAcl(&acl, sizeof acl, ACL_REVISION));
    ASSERT_TRUE(::SetSecurityDescriptorDacl(&descriptor, TRUE, &acl, FALSE));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    {
        const UniqueHandle event{
            ::CreateEventA(&attributes, TRUE, TRUE, hostPresenceEventName().text)};
        ASSERT_TRUE(event);
        const UniqueHandle opened{::OpenEventA(SYNCHRONIZE, FALSE, hostPresenceEventName().text)};
        if (opened) GTEST_SKIP() << "this system does not enforce the event's access list";
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(hostIsPresent());
    }
    EXPECT_FALSE(hostIsPresent()) << "the event must go with its last handle";
}

// A second copy of the plug-in (another Winamp install) has a shared block of
// its own: the first copy's Winamp must not tell the second's game side to
// draw it.
TEST(HostPresenceTest, EachCopyOfTheDllHasAnEventOfItsOwn) {
    const std::string folder = test::binDirectory() + "second-winamp";
    const std::string copy = folder + "\\gen_vireo.dll";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA(test::pluginDllPath().c_str(), copy.c_str(), FALSE));
    const auto eventOf = [](HMODULE module) {
        char path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
        return presenceName(kHostPresenceNamePrefix, {path, length});
    };
    const auto exists = [](const PresenceName& name) {
        return UniqueHandle{::OpenEventA(SYNCHRONIZE, FALSE, name.text)}.get() != nullptr;
    };
    {
        test::HostWindow host;
        test::LoadedPlugin first, second(copy);
        ASSERT_TRUE(first.loaded() && second.loaded());
        first.init(host.handle());
        EXPECT_TRUE(exists(eventOf(first.module())));
        EXPECT_EQ(std::string_view(eventOf(first.module()).text).find('\\'), std::string::npos);
        EXPECT_FALSE(exists(eventOf(second.module())));
    }
    ::DeleteFileA(copy.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
}  // namespace vireo
