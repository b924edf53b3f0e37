// The program's first profile: command-line path or default template.

#include "shell/FirstStart.h"
#include "ShellFixture.h"
#include "profile/ProfileFile.h"
#include "shell/TabStrip.h"

#include <QDir>
#include <QListWidget>

namespace kestrum::testing {
namespace {

TEST(ProfileArgument, OneLeadingAndOneTrailingQuoteAreRemoved) {
  const struct {
    QStringList arguments;
    QString path;
  } cases[] = {
      {{"kestrum"}, ""},
      {{"kestrum", "/p/a.Kestrum"}, "/p/a.Kestrum"},
      {{"kestrum", "\"/p/with blank.Kestrum\""}, "/p/with blank.Kestrum"},
      {{"kestrum", "\"/p/open"}, "/p/open"},
      {{"kestrum", "/p/close\""}, "/p/close"},
      {{"kestrum", "\"\"/p/twice\"\""}, "\"/p/twice\""},
      {{"kestrum", "/p/first", "/p/ignored"}, "/p/first"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ProfileArgument(c.arguments), c.path) << c.arguments.join(' ').toStdString();
}

using FirstStart = ShellFixture;

TEST_F(FirstStart, OpensTheGivenProfileOrTheDefaultTemplate) {
  Profile given;
  given.Settings.ProfileName = QStringLiteral("Given");
  given.Aliases[0].Text = QStringLiteral("HOSTALIAS a b");
  Profile fallback;
  fallback.Settings.ProfileName = QStringLiteral("Default");
  fallback.Excludes[0].Text = QStringLiteral("FILEEXCLUDE *.gif");
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Template")));
  const QString givenPath = path(QStringLiteral("Given.Kestrum"));
  const QString templatePath = path(QStringLiteral("Template/Default.Kestrum"));
  ASSERT_TRUE(WriteProfileFile(givenPath, given).ok());
  ASSERT_TRUE(WriteProfileFile(templatePath, fallback).ok());

  const struct {
    QString argument;
    QString opened;
    QString name;
    int aliases, excludes;
  } cases[] = {{givenPath, givenPath, "Given", 1, 0}, {"", templatePath, "Default", 0, 1}};
  for (const auto &c : cases) {
    MForm fresh({&messages, &dialogs, &desktop, false});
    EXPECT_FALSE(fresh.isVisible());
    ShowFirstProfile(fresh, c.argument);
    EXPECT_TRUE(fresh.isVisible());
    EXPECT_EQ(globals().CurrentProfilePath, c.opened);
    EXPECT_EQ(fresh.windowTitle(), QStringLiteral("Kestrum - %1 (%2)").arg(c.name, c.opened));
    EXPECT_EQ(fresh.control<QListWidget>(QStringLiteral("AliasBox"))->count(), c.aliases);
    EXPECT_EQ(fresh.control<QListWidget>(QStringLiteral("ExBox"))->count(), c.excludes);
    EXPECT_EQ(fresh.FrontPage(), fresh.MCont(0));
  }
}

} // namespace
} // namespace kestrum::testing
