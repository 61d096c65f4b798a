#include "RecordCommands.h"

#include <algorithm>

#include "CPatDoc.h"
#include "PageDesign.h"
#include "TypingRecord.h"
#include "core/codecs/Gbk.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace RC = RecordCommand;

int RecordCommands::insertCount(int id) {
    if (id >= RC::InsertFirst && id < RC::InsertLast) return id - RC::InsertFirst + 1;
    if (id == RC::InsertLast) return 20;
    return 0;
}

QString RecordCommands::insertMenuText(int id) {
    return QString::fromUtf8("信息插入(%1条)").arg(insertCount(id));
}

QString RecordCommands::stepName(int id) {
    if (insertCount(id) > 0) return QString::fromUtf8("信息插入");
    switch (id) {
        case RC::Delete: return QString::fromUtf8("信息删除");
        case RC::DeleteEmpty: return QString::fromUtf8("删除空信息");
        case RC::QueueAll: return QString::fromUtf8("全选打印队列");
        case RC::QueueNone: return QString::fromUtf8("清空打印队列");
        case RC::UnifySize: return QString::fromUtf8("统一幅面");
        case RC::UnifyBackground: return QString::fromUtf8("统一底图");
        case RC::UnifyTemplate: return QString::fromUtf8("统一模板");
        case RC::ApplyDesign: return QString::fromUtf8("应用到所有信息");
        default: return QString();
    }
}

QString RecordCommands::pageSizeName(int w, int h) {
    struct Standard {
        int w, h;
        const char* name;
    };
    static const Standard kSizes[] = {{190, 280, "(A4幅面)"}, {280, 400, "(A3幅面)"},
                                      {400, 580, "(A2幅面)"}, {580, 820, "(A1幅面)"},
                                      {820, 1170, "(A0幅面)"}};
    for (const auto& s : kSizes) {
        if (s.w == w && s.h == h) return QString::fromUtf8(s.name);
    }
    return QStringLiteral("(%1x%2)").arg(w).arg(h);
}

bool RecordCommands::recordsDifferInSize() const {
    const InfoRecord* cur = doc_.currentRecord();
    if (!cur) return false;
    for (const auto& r : doc_.records) {
        if (r->widthMm != cur->widthMm || r->heightMm != cur->heightMm) return true;
    }
    return false;
}

bool RecordCommands::backgroundChoiceDiffers(const RecordCommandContext& context) const {
    const InfoRecord* cur = doc_.currentRecord();
    if (!cur) return false;
    for (const auto& r : doc_.records) {
        if (r->background.category != cur->background.category ||
            r->background.name != cur->background.name) {
            return true;
        }
    }
    const PictureDescription& chosen = context.background.background;
    return chosen.category != cur->background.category || chosen.name != cur->background.name;
}

bool RecordCommands::templateChoiceDiffers(const RecordCommandContext& context) const {
    const InfoRecord* cur = doc_.currentRecord();
    if (!cur) return false;
    const auto differs = [cur](const QByteArray& category, const QByteArray& name,
                               const QByteArray& templateName) {
        return category != cur->background.category || name != cur->background.name ||
               templateName != cur->background.templateName;
    };
    for (const auto& r : doc_.records) {
        if (differs(r->background.category, r->background.name, r->background.templateName)) {
            return true;
        }
    }
    const LibraryChoice& t = context.templateChoice;
    return differs(t.background.category, t.background.name, t.templateName);
}

bool RecordCommands::isEnabled(int id, const RecordCommandContext& context) const {
    const int count = doc_.recordCount();
    const int index = doc_.currentIndex();
    const InfoRecord* cur = doc_.currentRecord();
    if (insertCount(id) > 0 || id == RC::InsertMenu || id == RC::Find || id == RC::ImportText ||
        id == RC::ImportWorkbook || id == RC::ImportDatabase) {
        return true;
    }
    switch (id) {
        case RC::Delete: return count > 1;
        case RC::Clear: return cur && !cur->isEmpty();
        case RC::DeleteEmpty: {
            if (count <= 1) return false;
            for (const auto& r : doc_.records) {
                if (r->isEmpty()) return true;
            }
            return false;
        }
        case RC::QueueAll:
        case RC::QueueNone:
        case RC::ExportText:
        case RC::ExportWorkbook:
        case RC::PrintList: return count >= 1;
        case RC::SetCurrentPrint: return cur && cur->copies == 0;
        case RC::CancelCurrentPrint: return cur && cur->copies != 0;
        case RC::First:
        case RC::Previous:
        case RC::PreviousGroup: return index > 0;
        case RC::Last:
        case RC::Next:
        case RC::NextGroup: return index >= 0 && index < count - 1;
        case RC::UnifySize: return count > 1 && recordsDifferInSize();
        case RC::ApplyDesign: return count > 1;
        case RC::UnifyBackground:
            return context.background.selected && count > 1 && backgroundChoiceDiffers(context);
        case RC::UnifyTemplate:
            return context.templateChoice.selected && count > 1 &&
                   templateChoiceDiffers(context);
        default: return false;
    }
}

void RecordCommands::changed() {
    doc_.setModified();
    doc_.notify(CPatDoc::Change::Records);
}

void RecordCommands::insertRecords(int n) {
    const int index = doc_.currentIndex();
    auto at = doc_.records.begin() + (index + 1);
    for (int i = 0; i < n; ++i) at = doc_.records.insert(at, doc_.newInsertedRecord()) + 1;
}

bool RecordCommands::deleteCurrent() {
    const int index = doc_.currentIndex();
    if (index < 0) return false;
    const QString question = QString::fromUtf8("删除第%1项信息?").arg(index + 1);
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return false;
    }
    doc_.records.erase(doc_.records.begin() + index);
    const int next = std::min(index, doc_.recordCount() - 1);
    doc_.records[static_cast<size_t>(next)]->current = true;
    return true;
}

bool RecordCommands::deleteEmpty() {
    const auto empty = std::count_if(doc_.records.begin(), doc_.records.end(),
                                     [](const auto& r) { return r->isEmpty(); });
    const QString question = QString::fromUtf8("删除%1项空信息?").arg(empty);
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return false;
    }
    for (int i = doc_.recordCount() - 1; i >= 0; --i) {
        InfoRecord& r = *doc_.records[static_cast<size_t>(i)];
        r.current = false;
        if (r.isEmpty()) doc_.records.erase(doc_.records.begin() + i);
    }
    if (doc_.records.empty()) doc_.records.push_back(doc_.newRecord());
    doc_.records.front()->current = true;
    return true;
}

bool RecordCommands::applyDesign() {
    const InfoRecord* source = doc_.currentRecord();
    if (!source) return false;
    std::vector<InfoRecord*> targets;
    for (const auto& r : doc_.records) targets.push_back(r.get());
    if (PageDesign::apply(doc_, *source, targets) == 0) return false;
    doc_.designAppliedToAll = true;
    return true;
}

bool RecordCommands::unifySize() {
    const InfoRecord* cur = doc_.currentRecord();
    const QString question = QString::fromUtf8("全部信息的页面尺寸统一设置为%1?")
                                 .arg(pageSizeName(cur->widthMm, cur->heightMm));
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return false;
    }
    const int32_t w = cur->widthMm;
    const int32_t h = cur->heightMm;
    for (auto& r : doc_.records) {
        r->resizePage(w, h);
        r->resetUndo();
    }
    return true;
}

bool RecordCommands::unifyBackground(const RecordCommandContext& context) {
    const PictureDescription& chosen = context.background.background;
    const QString question = QString::fromUtf8("全部信息的底图统一设置为(%1)?")
                                 .arg(Gbk::toUnicode(chosen.name));
    if (Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return false;
    }
    for (auto& r : doc_.records) r->applyBackground(chosen, doc_.backgrounds);
    return true;
}

bool RecordCommands::unifyTemplate(const RecordCommandContext& context) {
    const LibraryChoice& t = context.templateChoice;
    const QString question = QString::fromUtf8("全部信息的模板统一设置为(%1-%2)?")
                                 .arg(Gbk::toUnicode(t.background.name),
                                      Gbk::toUnicode(t.templateName));
    if (!context.applyTemplate ||
        Messages::current().ask(question, Messages::Buttons::YesNo) != Messages::Answer::Yes) {
        return false;
    }
    // A template that cannot be read fails on the first record, said once.
    constexpr int kProgressStep = 100;
    const int total = doc_.recordCount();
    for (int i = 0; i < total; ++i) {
        if (context.progress && i % kProgressStep == 0) context.progress(i, total);
        if (!context.applyTemplate(*doc_.records[static_cast<size_t>(i)], t.templatePath)) {
            if (context.progress) context.progress(total, total);
            return i > 0;
        }
    }
    if (context.progress) context.progress(total, total);
    return true;
}

bool RecordCommands::execute(int id, const RecordCommandContext& context) {
    if (!isEnabled(id, context)) return false;
    const int count = doc_.recordCount();
    const int index = doc_.currentIndex();
    switch (id) {
        case RC::First: return doc_.setCurrentIndex(0);
        case RC::Last: return doc_.setCurrentIndex(count - 1);
        case RC::Previous: return doc_.setCurrentIndex(index - 1);
        case RC::Next: return doc_.setCurrentIndex(index + 1);
        case RC::PreviousGroup:
            return doc_.setCurrentIndex(std::max(0, index - std::max(1, context.visibleRowCount)));
        case RC::NextGroup:
            return doc_.setCurrentIndex(
                std::min(count - 1, index + std::max(1, context.visibleRowCount)));
        default: break;
    }
    const QString step = stepName(id);
    const bool done = step.isEmpty() ? run(id, context) : doc_.listHistory().record(step, [&] {
        return run(id, context);
    });
    if (done) changed();
    return done;
}

bool RecordCommands::run(int id, const RecordCommandContext& context) {
    InfoRecord* cur = doc_.currentRecord();
    switch (id) {
        case RC::Delete: return deleteCurrent();
        case RC::Clear:
            cur->takeUndoSnapshot();
            cur->clearValues();
            return true;
        case RC::DeleteEmpty: return deleteEmpty();
        case RC::QueueAll: {
            // The empty record an import leaves for typing would print a blank sign.
            const InfoRecord* typing =
                TypingRecord::isLast(doc_) ? doc_.recordAt(doc_.recordCount() - 1) : nullptr;
            for (auto& r : doc_.records) r->copies = r.get() == typing ? 0 : 1;
            return true;
        }
        case RC::QueueNone:
            for (auto& r : doc_.records) r->copies = 0;
            return true;
        case RC::SetCurrentPrint: cur->copies = 1; return true;
        case RC::CancelCurrentPrint: cur->copies = 0; return true;
        case RC::UnifySize: return unifySize();
        case RC::UnifyBackground: return unifyBackground(context);
        case RC::UnifyTemplate: return unifyTemplate(context);
        case RC::ApplyDesign: return applyDesign();
        default: {
            const int n = insertCount(id);
            if (n == 0) return false;
            insertRecords(n);
            return true;
        }
    }
}

}  // namespace pemo
