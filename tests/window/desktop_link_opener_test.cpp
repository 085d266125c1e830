#include "form/contact_links.h"
#include "window/desktop_link_opener.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace ratalia::test {
namespace {

// The desktop hands links to xdg-open; a stand-in first on PATH records what
// it was given, so the whole way from the click to the desktop is exercised.
TEST(DesktopLinkOpenerTest, hands_both_targets_to_the_desktop)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString record = folder.filePath(QStringLiteral("opened"));
    QFile script(folder.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\n").arg(record).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", folder.path().toUtf8() + ':' + qgetenv("PATH"));

    DesktopLinkOpener opener;
    openWebSite(opener);
    openEmail(opener);

    const QByteArray expected =
        QByteArray::fromStdString(ContactLinks::webTarget() + "\n" + ContactLinks::mailTarget() + "\n");
    QByteArray opened;
    for (int waited = 0; waited < 100 && opened.size() < expected.size(); ++waited) {
        QTest::qWait(50);
        QFile file(record);
        if (file.open(QIODevice::ReadOnly))
            opened = file.readAll();
    }
    // The two launches run side by side: compare as a set of lines.
    QList<QByteArray> lines = opened.split('\n');
    QList<QByteArray> wanted = expected.split('\n');
    std::sort(lines.begin(), lines.end());
    std::sort(wanted.begin(), wanted.end());
    EXPECT_EQ(lines, wanted);
}

} // namespace
} // namespace ratalia::test
