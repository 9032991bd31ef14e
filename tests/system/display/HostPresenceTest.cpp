// The game side's view of whether the plug-in runs in Winamp: the named
// event the Winamp side holds. Machine-wide: a plug-in running in another
// test would hold the same event.

#include <gtest/gtest.h>

#include <windows.h>

#include "common/UniqueResource.h"
#include "display/HostPresence.h"

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
        const UniqueHandle event{::CreateEventA(&attributes, TRUE, TRUE, kHostPresenceEventName)};
        ASSERT_TRUE(event);
        const UniqueHandle opened{::OpenEventA(SYNCHRONIZE, FALSE, kHostPresenceEventName)};
        if (opened) GTEST_SKIP() << "this system does not enforce the event's access list";
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
        EXPECT_TRUE(hostIsPresent());
    }
    EXPECT_FALSE(hostIsPresent()) << "the event must go with its last handle";
}

}  // namespace
}  // namespace vireo
