#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QList>
#include <QObject>
#include <QUrl>

#include <gtest/gtest.h>

#include "core/temp_dir.h"

namespace quillex {
namespace {

// Takes the place of the platform's handlers, so that a test sees the address handed over
// and nothing is opened.
class UrlCatcher : public QObject {
    Q_OBJECT

  public:
    QList<QUrl> urls;

  public slots:
    void Catch(const QUrl& url) { urls.append(url); }
};

class DesktopShellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* scheme : {"https", "file"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher_, "Catch");
        }
        oldCurrent_ = QDir::currentPath();
    }
    void TearDown() override {
        for (const char* scheme : {"https", "file"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
        QDir::setCurrent(oldCurrent_);
    }

    UrlCatcher catcher_;
    QString oldCurrent_;
};

TEST_F(DesktopShellTest, WebPageIsOpenedAsItsAddress) {
    DesktopShell shell;
    shell.Open(*WebPageTarget(1));
    ASSERT_EQ(catcher_.urls.size(), 1);
    EXPECT_EQ(catcher_.urls[0], QUrl(QStringLiteral("https://quillex.example.org/ru/")));
}

// The help file is looked for in the working directory the program was started from, not in
// the program's folder.
TEST_F(DesktopShellTest, HelpFileIsResolvedAgainstTheCurrentWorkingDirectory) {
    testing::TempDir elsewhere;
    const QString folder = QString::fromStdString(elsewhere.path().string());
    ASSERT_TRUE(QDir::setCurrent(folder));
    DesktopShell shell;
    shell.Open(*HelpFileTarget(0));
    ASSERT_EQ(catcher_.urls.size(), 1);
    EXPECT_EQ(catcher_.urls[0], QUrl::fromLocalFile(QDir(folder).absoluteFilePath("Help_e.txt")));
    EXPECT_TRUE(catcher_.urls[0].isLocalFile());
}

TEST_F(DesktopShellTest, HelpFileNameWithSpacesOrCyrillicStaysOneLocalFile) {
    const ShellTarget target{ShellTarget::Kind::Document, "Справка 1.txt", ShowCommand::Restore};
    const QUrl url = DesktopShell::UrlFor(target);
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_EQ(url.toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("Справка 1.txt")));
}

}  // namespace
}  // namespace quillex

#include "shell_test.moc"
