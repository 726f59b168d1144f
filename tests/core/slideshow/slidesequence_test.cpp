#include "core/slideshow/slidesequence.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>
#include <QTemporaryDir>

#include "core/slideshow/slidefit.h"
#include "core/slideshow/slideprefetch.h"
#include "core/slideshow/slidetitle.h"

namespace
{

double half()
{
    return 0.5;
}

// Next from the last picture and previous from the first wrap round; descending runs the
// other way. Folder indices start at 0, list indices at 1.
TEST(SlideSequence, OrdersWrapAtBothEnds)
{
    struct Case {
        SlideSource source;
        int start;
        int order;
        int next;
        int previous; // from the start again
    };
    const Case cases[] = {
        {SlideSource::List, 5, Ascending, 1, 4},   {SlideSource::List, 1, Descending, 5, 2},
        {SlideSource::Folder, 4, Ascending, 0, 3}, {SlideSource::Folder, 0, Descending, 4, 1},
        {SlideSource::List, 9, Ascending, 1, 4},   {SlideSource::Folder, -3, Descending, 4, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.start);
        SlideSequence forwards(c.source, 5, c.start, half);
        EXPECT_EQ(forwards.next(c.order), c.next);
        EXPECT_EQ(forwards.current(), c.next);
        SlideSequence backwards(c.source, 5, c.start, half);
        EXPECT_EQ(backwards.previous(c.order), c.previous);
    }
}

// Every index appears once in the random order; over the folder, index 0 keeps position 0.
// A folder that changes its count gets a new order and the position stays in range.
TEST(SlideSequence, RandomOrderIsAPermutationRebuiltWithTheCount)
{
    int draws = 0;
    SlideSequence folder(SlideSource::Folder, 8, 7, [&draws] { return (++draws % 7) / 7.0; });
    std::vector<int> order = folder.randomOrder();
    ASSERT_EQ(order.size(), 9u);
    EXPECT_EQ(order[0], 0);
    std::sort(order.begin(), order.begin() + 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(order[size_t(i)], i);
    EXPECT_EQ(folder.next(Random), 0); // position 7 wraps to 0
    EXPECT_EQ(folder.next(Random), folder.randomOrder()[1]);

    const QStringList eight = {"a", "b", "c", "d", "e", "f", "g", "h"};
    folder.followFolder(eight, {"a", "b", "c"}, Random);
    EXPECT_EQ(folder.randomOrder().size(), 4u);
    for (int n = 0; n < 6; ++n) {
        const int index = folder.next(Random);
        EXPECT_GE(index, 0);
        EXPECT_LE(index, 2);
    }
    folder.followFolder({"a", "b", "c"}, {}, Ascending);
    EXPECT_EQ(folder.next(Ascending), -1);
}

// The folder changes under a show on "c": the next step shows the picture that follows "c" in
// the order, whether "c" itself, pictures before it or pictures after it went.
TEST(SlideSequence, FolderChangesAreFollowedByName)
{
    const QStringList before = {"a", "b", "c", "d", "e"};
    struct Case {
        QStringList after;
        int order;
        QString next;
    };
    const Case cases[] = {
        {{"b", "c", "d", "e"}, Ascending, "d"},
        {{"a", "b", "d", "e"}, Ascending, "d"},
        {{"a", "b", "d", "e"}, Descending, "b"},
        {{"d", "e"}, Descending, "e"},
        {{"a", "b"}, Ascending, "a"},
        {{"a", "b"}, Descending, "b"},
        {{"0", "a", "b", "c", "d", "e"}, Descending, "b"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.after.join(u',').toStdString() + " order " + std::to_string(c.order));
        SlideSequence folder(SlideSource::Folder, int(before.size()), 2, half);
        folder.followFolder(before, c.after, c.order);
        EXPECT_EQ(c.after.value(folder.next(c.order)), c.next);
    }
}

TEST(SlideSequence, PeekingDoesNotMove)
{
    SlideSequence list(SlideSource::List, 4, 2, half);
    EXPECT_EQ(list.peekNext(Descending), 1);
    EXPECT_EQ(list.current(), 2);
    EXPECT_EQ(list.next(Descending), 1);
}

// The show starts on the current entry's name; a list with a line more or less before it
// does not shift the start.
TEST(SlideSequence, StartsByNameAndNamesAreClamped)
{
    const QStringList names = {"a.jpg", "b.jpg", "c.jpg"};
    EXPECT_EQ(slideStartIndex(SlideSource::Folder, names, "c.jpg"), 2);
    EXPECT_EQ(slideStartIndex(SlideSource::List, names, "c.jpg"), 3);
    EXPECT_EQ(slideStartIndex(SlideSource::Folder, names, "gone.jpg"), 0);
    EXPECT_EQ(slideStartIndex(SlideSource::List, names, QString()), 1);
    EXPECT_EQ(slideName(SlideSource::Folder, names, -1), "a.jpg");
    EXPECT_EQ(slideName(SlideSource::List, names, 3), "c.jpg");
    EXPECT_EQ(slideName(SlideSource::List, names, 7), "c.jpg");
    EXPECT_EQ(slideName(SlideSource::List, {}, 1), QString());
}

TEST(SlideTitle, ShowsNumberOrderSizeScaleAndState)
{
    SlideTitle title{3, Ascending, 12, "IMG_0001.JPG", QSize(1600, 1200), 50, false};
    EXPECT_EQ(slideTitleText(title),
              QStringLiteral("3 [昇 順] /12 IMG_0001.JPG  1600 X 1200 (50%)") + QString(16, ' '));
    title.paused = true;
    title.order = Random;
    EXPECT_EQ(slideTitleText(title),
              QStringLiteral("3 [ﾗﾝﾀﾞﾑ] /12 IMG_0001.JPG  1600 X 1200 (50%)   [一時停止中]　"));
}

TEST(SlideFit, ReducesLargePicturesAndCentresSmallOnes)
{
    struct Case {
        QSize natural, screen;
        QRect drawn;
        int percent;
    };
    const Case cases[] = {
        {{1600, 1200}, {800, 600}, {0, 0, 800, 600}, 50},
        {{4000, 3000}, {1920, 1080}, {240, 0, 1440, 1080}, 36},
        {{300, 200}, {800, 600}, {250, 200, 300, 200}, 100},
        {{3000, 1000}, {1000, 1000}, {0, 333, 1000, 333}, 33},
        {{300, 200}, {0, 0}, {}, 0},
    };
    for (const Case &c : cases) {
        const SlideFit fit = slideFit(c.natural, c.screen);
        EXPECT_EQ(fit.drawn, c.drawn);
        EXPECT_EQ(fit.percent, c.percent);
    }
}

TEST(SlidePrefetch, TellsVanishedFilesFromDamagedOnes)
{
    QTemporaryDir dir;
    const QString damaged = dir.filePath("damaged.jpg");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8 not a picture");
    file.close();
    SlidePrefetch prefetch;
    prefetch.start(damaged, QSize(64, 48), Qt::black, true);
    const PreparedSlide bad = prefetch.take(damaged, QSize(64, 48), Qt::black, true);
    EXPECT_EQ(bad.outcome, PreparedSlide::Outcome::Failed);
    EXPECT_FALSE(bad.error.isEmpty());
    const PreparedSlide gone =
        prefetch.take(dir.filePath("gone.jpg"), QSize(64, 48), Qt::black, true);
    EXPECT_EQ(gone.outcome, PreparedSlide::Outcome::Vanished);
}

} // namespace
