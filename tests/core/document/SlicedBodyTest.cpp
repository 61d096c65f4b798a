#include <gtest/gtest.h>

#include "Bytes.h"
#include "../print/PrintFixtures.h"
#include "core/blocks/BlockKind.h"
#include "core/blocks/TextBlock.h"
#include "core/document/DocumentFile.h"
#include "core/document/SlicedBody.h"

using namespace pemo;
using test::gbk;

// Taken a few records at a time, the body is the one a save writes, byte for byte; the
// page on the screen keeps what it showed.
TEST(SlicedBody, IsTheSavedBodyTakenInSteps) {
    for (const bool templateMode : {false, true}) {
        SCOPED_TRACE(templateMode);
        auto doc = test::makeDocument({{210, 297, 1}, {100, 80, 2}, {297, 420, 0}, {90, 50, 1}});
        int i = 0;
        for (auto& r : doc->records) {
            test::addTwoColourBackground(*doc, *r, Qt::red, i % 2 ? Qt::blue : Qt::green);
            r->setValue(0, gbk(i % 2 ? "牛奶" : "面包"));
            r->setValue(InfoRecord::kCurrentPrice, QByteArray::number(i + 1) + ".50");
            r->appendBlock(TextBlock::create(BlockKind::FirstVariable, {500, 500, 4000, 1500}, "x", true));
            r->appendBlock(TextBlock::create(BlockKind::CurrentPrice, {500, 2000, 4000, 3000}, "x", true));
            r->refreshPlaceholders(false, doc->placeholderSources());
            ++i;
        }
        doc->setCurrentIndex(1);
        doc->setTemplateMode(templateMode);
        const QByteArray shown = doc->records[1]->blocks[0]->plainText();

        SlicedBody slices(*doc);
        int steps = 0;
        while (!slices.step(0)) ++steps;  // a budget of 0: one record a step
        EXPECT_EQ(steps, 3);
        const std::vector<QByteArray> parts = slices.takeParts();
        const QByteArray body = SlicedBody::join(parts);
        EXPECT_EQ(doc->records[1]->blocks[0]->plainText(), shown);
        EXPECT_EQ(body, DocumentFile::writeBody(*doc));
        // The recovery copy is written from the parts without joining them: the same file.
        EXPECT_EQ(DocumentFile::pack(parts), DocumentFile::write(*doc));
        EXPECT_EQ(DocumentFile::pack(parts, false), DocumentFile::write(*doc, false));
        EXPECT_EQ(shown == gbk("牛奶"), !templateMode);
    }
}
