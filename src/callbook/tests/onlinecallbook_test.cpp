#include "callbook/onlinecallbook.h"

#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vellum {
namespace {

TEST(OnlineSettings, KeptInAFileOnlyTheUserCanRead)
{
    test::TempDir dir;
    std::string name = dir.file("CALLBOOK.CFG");
    OnlineCallbookSettings settings;
    settings.service = OnlineService::HamQthXml;
    settings.user = "qx1ab";
    settings.password = "se=cret\nx";
    settings.baseUrl = "http://127.0.0.1:8080/xml.php";
    settings.timeoutSeconds = 7;
    SaveOnlineSettings(settings, name);
    struct stat info {};
    ASSERT_EQ(stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    OnlineCallbookSettings read = LoadOnlineSettings(name);
    EXPECT_EQ(read.service, OnlineService::HamQthXml);
    EXPECT_EQ(read.user, "qx1ab");
    EXPECT_EQ(read.password, "se=cret x") << "a line break cannot start a new key";
    EXPECT_EQ(read.baseUrl, settings.baseUrl);
    EXPECT_EQ(read.timeoutSeconds, 7);
    test::WriteFile(name, "timeout=0\nservice=9\n");
    read = LoadOnlineSettings(name);
    EXPECT_EQ(read.timeoutSeconds, 15) << "an unusable time limit takes the default";
    EXPECT_EQ(read.service, OnlineService::QrzXml);
    EXPECT_EQ(LoadOnlineSettings(dir.file("missing")).user, "");
    EXPECT_THROW(SaveOnlineSettings(settings, dir.file("no/such/folder/file")), std::exception);
}

TEST(OnlineLines, BothServicesGiveTheSameKindOfLines)
{
    OnlineFields qrz{{"call", "qx1ab"}, {"fname", "Ann"},   {"name", "Example"}, {"addr1", "Main Street 1"},
                     {"addr2", "Springfield"}, {"state", "XS"}, {"zip", "12345"},     {"country", "Nowhere"},
                     {"grid", "FN31pr"}, {"qslmgr", "QX9MGR"}, {"lotw", "1"}, {"eqsl", "0"}};
    CallbookLines lines = OnlineResultLines(OnlineService::QrzXml, qrz);
    EXPECT_EQ(lines, (CallbookLines{"QX1AB", "Ann Example", "Main Street 1", "Springfield", "XS 12345", "Nowhere",
                                    "Grid: FN31pr", "QX1AB via QX9MGR", "LoTW: yes", "eQSL: no"}));
    EXPECT_EQ(ManagerFromLines(lines, "QX1AB"), "QX9MGR");
    OnlineFields hamqth{{"callsign", "qx1ab"}, {"nick", "Ann"}, {"adr_street1", "Main Street 1"},
                        {"adr_city", "Springfield"}, {"adr_zip", "12345"}, {"adr_country", "Nowhere"},
                        {"qsl_via", ""}, {"eqsl", "Y"}};
    EXPECT_EQ(OnlineResultLines(OnlineService::HamQthXml, hamqth),
              (CallbookLines{"QX1AB", "Ann", "Main Street 1", "12345 Springfield", "Nowhere", "eQSL: yes"}));
}

TEST(OnlineErrors, TextsOfTheServicesAreClassified)
{
    EXPECT_EQ(ClassifyOnlineError(""), OnlineError::None);
    EXPECT_EQ(ClassifyOnlineError("Not found: QX1AB"), OnlineError::NotFound);
    EXPECT_EQ(ClassifyOnlineError("Callsign not found"), OnlineError::NotFound);
    EXPECT_EQ(ClassifyOnlineError("Username/password incorrect"), OnlineError::BadLogin);
    EXPECT_EQ(ClassifyOnlineError("Wrong user name or password"), OnlineError::BadLogin);
    EXPECT_EQ(ClassifyOnlineError("Session Timeout"), OnlineError::SessionExpired);
    EXPECT_EQ(ClassifyOnlineError("Invalid session key"), OnlineError::SessionExpired);
    EXPECT_EQ(ClassifyOnlineError("Session does not exist or expired"), OnlineError::SessionExpired);
    EXPECT_EQ(ClassifyOnlineError("Database maintenance"), OnlineError::Other);
}

TEST(OnlineCache, KeepsAnswersForADay)
{
    OnlineCache cache;
    auto now = OnlineCache::Clock::now();
    cache.Store("QX1AB", {OnlineOutcome::Found, {"QX1AB", "Ann"}}, now);
    cache.Store("QX7ZZ", {OnlineOutcome::NotFound, {"QX7ZZ not found"}}, now);
    EXPECT_EQ(cache.Find("QX1AB", now + std::chrono::hours(23))->lines.size(), 2u);
    EXPECT_EQ(cache.Find("QX7ZZ", now)->outcome, OnlineOutcome::NotFound);
    EXPECT_FALSE(cache.Find("QX1AB", now + std::chrono::hours(24)));
    EXPECT_FALSE(cache.Find("QX1AB", now - std::chrono::hours(1))) << "a clock set back does not keep it forever";
    EXPECT_FALSE(cache.Find("QX2CD", now));
}

} // namespace
} // namespace vellum
