// The toolbar's theme pictures: the style's arrow without a theme lookup
// where the desktop names no theme, the theme's own picture where it does.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

#include "shell/ThemeIcon.h"

namespace {

QImage picture(const QIcon& icon, const QSize& size, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(size, 1.0, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class TestThemeIcon : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_theme = QIcon::themeName();
        m_searchPaths = QIcon::themeSearchPaths();
    }
    void cleanup()
    {
        QIcon::setThemeName(m_theme);
        QIcon::setThemeSearchPaths(m_searchPaths);
        QApplication::setLayoutDirection(Qt::LeftToRight);
    }

    void builtInArrowDrawsTheStylesArrow_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("mode");
        QTest::newRow("back, toolbar size") << int(QStyle::SP_ArrowBack) << QSize(18, 19) << int(QIcon::Normal);
        QTest::newRow("back, disabled") << int(QStyle::SP_ArrowBack) << QSize(18, 19) << int(QIcon::Disabled);
        QTest::newRow("forward, toolbar size") << int(QStyle::SP_ArrowForward) << QSize(18, 19) << int(QIcon::Normal);
        QTest::newRow("forward, disabled") << int(QStyle::SP_ArrowForward) << QSize(18, 19) << int(QIcon::Disabled);
        QTest::newRow("back, 16") << int(QStyle::SP_ArrowBack) << QSize(16, 16) << int(QIcon::Normal);
        QTest::newRow("forward, 48") << int(QStyle::SP_ArrowForward) << QSize(48, 48) << int(QIcon::Normal);
    }
    void builtInArrowDrawsTheStylesArrow()
    {
        QFETCH(int, which);
        QFETCH(QSize, size);
        QFETCH(int, mode);
        // No theme: the style's arrow is its own picture, no theme's.
        QIcon::setThemeName(QString());
        QIcon::setThemeSearchPaths({});
        const auto pixmap = QStyle::StandardPixmap(which);
        const QIcon built = ThemeIcon::builtInArrow(pixmap);
        QVERIFY(!built.isNull());
        const QImage expected = picture(QApplication::style()->standardIcon(pixmap), size, QIcon::Mode(mode));
        QVERIFY(!expected.isNull());
        QCOMPARE(picture(built, size, QIcon::Mode(mode)), expected);
    }

    void arrowsPointTheOtherWayRightToLeft()
    {
        const QImage left = picture(ThemeIcon::builtInArrow(QStyle::SP_ArrowBack), QSize(18, 19));
        const QImage right = picture(ThemeIcon::builtInArrow(QStyle::SP_ArrowForward), QSize(18, 19));
        QVERIFY(left != right);
        QApplication::setLayoutDirection(Qt::RightToLeft);
        QCOMPARE(picture(ThemeIcon::builtInArrow(QStyle::SP_ArrowBack), QSize(18, 19)), right);
        QCOMPARE(picture(ThemeIcon::builtInArrow(QStyle::SP_ArrowForward), QSize(18, 19)), left);
    }

    void onlyArrowsAreBuiltIn()
    {
        QVERIFY(ThemeIcon::builtInArrow(QStyle::SP_DialogOkButton).isNull());
        QVERIFY(ThemeIcon::builtInArrow(QStyle::SP_ArrowUp).isNull());
    }

    void desktopTheme_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<bool>("none");
        QTest::newRow("base theme only") << QStringLiteral("hicolor") << true;
        QTest::newRow("a desktop's theme") << QStringLiteral("Adwaita") << false;
        QTest::newRow("another") << QStringLiteral("breeze") << false;
    }
    void desktopTheme()
    {
        QFETCH(QString, theme);
        QFETCH(bool, none);
        QIcon::setThemeName(theme);
        QCOMPARE(ThemeIcon::desktopHasNoTheme(), none);
    }

    // A desktop theme with its own undo picture: the toolbar shows that one,
    // not the arrow.
    void aDesktopThemesPictureWins()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("testtheme/16x16/actions")));
        QFile index(dir.filePath(QStringLiteral("testtheme/index.theme")));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.write("[Icon Theme]\nName=testtheme\nDirectories=16x16/actions\n\n"
                    "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
        index.close();
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(dir.filePath(QStringLiteral("testtheme/16x16/actions/edit-undo.png"))));

        QIcon::setThemeSearchPaths({dir.path()});
        QIcon::setThemeName(QStringLiteral("testtheme"));
        QVERIFY(!ThemeIcon::desktopHasNoTheme());
        const QImage undo = picture(ThemeIcon::icon(QStringLiteral("edit-undo"), QStyle::SP_ArrowBack), QSize(16, 16));
        QCOMPARE(undo.pixelColor(8, 8), QColor(Qt::red));
        // A name the theme lacks: the style's arrow.
        const QImage redo = picture(ThemeIcon::icon(QStringLiteral("edit-redo"), QStyle::SP_ArrowForward), QSize(16, 16));
        QCOMPARE(redo, picture(QApplication::style()->standardIcon(QStyle::SP_ArrowForward), QSize(16, 16)));
    }

    // The base theme alone: the arrow, the same picture the style gives.
    void noDesktopThemeGivesTheStylesArrow()
    {
        QIcon::setThemeSearchPaths({});
        QIcon::setThemeName(QStringLiteral("hicolor"));
        const QImage undo = picture(ThemeIcon::icon(QStringLiteral("edit-undo"), QStyle::SP_ArrowBack), QSize(18, 19));
        QCOMPARE(undo, picture(QApplication::style()->standardIcon(QStyle::SP_ArrowBack), QSize(18, 19)));
    }

private:
    QString m_theme;
    QStringList m_searchPaths;
};

QTEST_MAIN(TestThemeIcon)
#include "tst_themeicon.moc"
