#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "Bytes.h"
#include "TestBlock.h"
#include "core/config/MallInfoList.h"
#include "core/config/VariableNameList.h"
#include "core/document/InfoRecord.h"
#include "core/pictures/PictureStore.h"

using namespace pemo;
using test::gbk;
using test::makeBlock;
using test::TestBlock;

namespace {

TestBlock& block(const InfoRecord& r, size_t i) { return static_cast<TestBlock&>(*r.blocks[i]); }

}  // namespace

TEST(Placeholders, EveryKindShowsItsValueOrItsName) {
    VariableNameList names;
    names.setName(2, gbk("规格"));
    MallInfoList mall;
    mall.setValue(1, gbk("澜川百货"));
    mall.setValue(3, "");
    const PlaceholderSources sources{&names, &mall};

    InfoRecord r;
    r.setValue(0, gbk("牛奶"));
    r.setValue(9, gbk("其他"));
    r.setValue(InfoRecord::kCurrentPrice, "12.50");
    const struct {
        int32_t kind;
        const char* shown;          // templateMode off
        const char* shownTemplate;  // templateMode on
    } cases[] = {
        {0x02020001, "牛奶", "{商品名称}"},
        {0x02020002, "{商品说明}", "{商品说明}"},
        {0x02020003, "{规格}", "{规格}"},
        {0x0202000A, "其他", "{其他信息}"},
        {0x02040001, "{原价}", "{原价}"},
        {0x02040002, "12.50", "{现价}"},
        {0x02040003, "{折扣}", "{折扣}"},
        {0x02080001, "澜川", "{商场简称}"},
        {0x02080002, "澜川百货", "{商场全称}"},
        {0x02080004, "{服务电话}", "{服务电话}"},
        {0x02080005, "www.lanchuan.com.cn", "{商场网址}"},
    };
    for (const auto& c : cases) r.appendBlock(makeBlock(c.kind, {0, 0, 10, 10}, 8));
    r.appendBlock(makeBlock(BlockKind::FixedText, {0, 0, 10, 10}, 8));
    block(r, std::size(cases)).shownText = "fixed";

    for (bool templateMode : {false, true}) {
        SCOPED_TRACE(templateMode);
        r.refreshPlaceholders(templateMode, sources);
        for (size_t i = 0; i < std::size(cases); ++i) {
            SCOPED_TRACE(cases[i].shownTemplate);
            EXPECT_EQ(block(r, i).shownText,
                      gbk(templateMode ? cases[i].shownTemplate : cases[i].shown));
        }
        EXPECT_EQ(block(r, std::size(cases)).shownText, QByteArray("fixed"));
    }
}

TEST(Placeholders, ProductPictureGoesToTheFirstProductBlockOrTheStore) {
    QTemporaryDir dir;
    const QString path = dir.filePath("milk.bmp");
    ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB32).save(path, "BMP"));
    const PictureDescription milk =
        PictureDescription::ofFile(path, PictureDescription::LibraryPicture, "c", "milk");
    PictureStore images;

    InfoRecord plain;
    plain.setProductPicture(milk, images);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(plain.productPicture, images.entries()[0]->key());
    plain.setProductPicture(PictureDescription(), images);  // an empty description removes it
    EXPECT_TRUE(plain.productPicture.isEmpty());

    InfoRecord withBlock;
    withBlock.appendBlock(makeBlock(BlockKind::ProductPicture, {}, 3));
    withBlock.appendBlock(makeBlock(BlockKind::ProductPicture, {}, 3));
    withBlock.setProductPicture(milk, images);
    EXPECT_EQ(images.size(), 1);  // the same picture is stored once
    EXPECT_EQ(block(withBlock, 0).key, images.entries()[0]->key());
    EXPECT_TRUE(block(withBlock, 1).key.isEmpty());
    EXPECT_EQ(withBlock.productPicture, block(withBlock, 0).key);
}

