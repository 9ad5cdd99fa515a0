// SPDX-License-Identifier: MIT
// The clipboard against another program's on a real X server (the test list
// runs this under Xvfb; elsewhere it is skipped): the other program's text
// comes through whole, a text over the cap is refused without more than the
// cap fetched, and our own text is read from our own copy.

#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <list>

#include "platform/qt/qt_clipboard.h"

namespace {

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(X11Clipboard, AnotherProgramsTextIsFetchedOnlyWithinTheCap) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server";
    const QString xclip = QStandardPaths::findExecutable(QStringLiteral("xclip"));
    if (xclip.isEmpty()) GTEST_SKIP() << "xclip is not installed";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    platform::qt::QtClipboard clipboard;

    // xclip owns the clipboard with a file of `size` bytes, each `fill`
    // (or `text`), until the next one takes it over.
    std::list<QProcess> owners;
    int offered = 0;
    auto offer = [&](qint64 size, char fill, const QByteArray& text = {}) {
        const QString path = folder.filePath(QString::number(++offered));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (!text.isEmpty()) {
            ASSERT_EQ(file.write(text), text.size());
        }
        const QByteArray chunk(1 << 20, fill);
        for (qint64 left = size; left > 0; left -= chunk.size())
            ASSERT_EQ(file.write(chunk.constData(), std::min<qint64>(left, chunk.size())), std::min<qint64>(left, chunk.size()));
        file.close();
        owners.emplace_back().start(xclip, {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                            QStringLiteral("clipboard"), QStringLiteral("-i"), path});
        ASSERT_TRUE(owners.back().waitForStarted());
    };
    // Waits (boundedly) until the clipboard's text meets `wanted`.
    auto arrives = [&](auto wanted) {
        for (int i = 0; i < 200; ++i) {
            if (wanted(clipboard.getText())) return true;
            QCoreApplication::processEvents();
            QThread::msleep(50);
        }
        return false;
    };

    // Our own text is read from our own copy, not asked of the X server
    // (whose answer our own event loop would have to give).
    const std::string pattern = "#C 日本の模様\nx = 3, y = 1\n3o!\n";
    ASSERT_TRUE(clipboard.put({{1, 0, 1, 0, 1, 2, 3, 4}, {}, pattern}));
    EXPECT_EQ(clipboard.getText(), pattern);

    const std::string theirs = pattern + "#C theirs\n";
    offer(0, 0, QByteArray::fromStdString(theirs));
    EXPECT_TRUE(arrives([&](const std::string& t) { return t == theirs; }));
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_FALSE(clipboard.hasCells());

    // As long as a text may be: it comes in pieces, and whole.
    offer(platform::kLargestClipboardText, 'o');
    EXPECT_TRUE(arrives([](const std::string& t) { return t == std::string(platform::kLargestClipboardText, 'o'); }));

    // Over the cap: refused, and no more than the cap is fetched (xclip
    // sends long texts in pieces without telling their size). xclip does not
    // survive a transfer broken off, so each check starts from a short text.
    for (const qint64 size : {qint64{platform::kLargestClipboardText} + 1, qint64{100'000'000}}) {
        offer(0, 0, QByteArrayLiteral("o!\n"));
        EXPECT_TRUE(arrives([](const std::string& t) { return t == "o!\n"; }));
        const long before = PeakKilobytes();
        offer(size, 'b');
        EXPECT_TRUE(arrives([](const std::string& t) { return t.empty(); })) << size;
        EXPECT_LT(PeakKilobytes() - before, 20 * 1024) << size;
    }

    for (QProcess& owner : owners) {
        owner.kill();
        owner.waitForFinished();
    }
}

}  // namespace
