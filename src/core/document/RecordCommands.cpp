#include "RecordCommands.h"

#include "CPatDoc.h"
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
    for (int i = 0; i < n; ++i) at = doc_.records.insert(at, doc_.newRecord()) + 1;
}

void RecordCommands::deleteCurrent() {
    const int index = doc_.currentIndex();
    if (index < 0) return;
    doc_.records.erase(doc_.records.begin() + index);
    const int next = std::min(index, doc_.recordCount() - 1);
    doc_.records[static_cast<size_t>(next)]->current = true;
}

void RecordCommands::deleteEmpty() {
    for (int i = doc_.recordCount() - 1; i >= 0; --i) {
        InfoRecord& r = *doc_.records[static_cast<size_t>(i)];
        r.current = false;
        if (r.isEmpty()) doc_.records.erase(doc_.records.begin() + i);
    }
    if (doc_.records.empty()) doc_.records.push_back(doc_.newRecord());
    doc_.records.front()->current = true;
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
    InfoRecord* cur = doc_.currentRecord();
    switch (id) {
        case RC::Delete: deleteCurrent(); break;
        case RC::Clear:
            cur->takeUndoSnapshot();
            cur->clearValues();
            break;
        case RC::DeleteEmpty: deleteEmpty(); break;
        case RC::QueueAll:
            for (auto& r : doc_.records) r->copies = 1;
            break;
        case RC::QueueNone:
            for (auto& r : doc_.records) r->copies = 0;
            break;
        case RC::SetCurrentPrint: cur->copies = 1; break;
        case RC::CancelCurrentPrint: cur->copies = 0; break;
        case RC::First: return doc_.setCurrentIndex(0);
        case RC::Last: return doc_.setCurrentIndex(count - 1);
        case RC::Previous: return doc_.setCurrentIndex(index - 1);
        case RC::Next: return doc_.setCurrentIndex(index + 1);
        case RC::PreviousGroup:
            return doc_.setCurrentIndex(std::max(0, index - std::max(1, context.visibleRowCount)));
        case RC::NextGroup:
            return doc_.setCurrentIndex(
                std::min(count - 1, index + std::max(1, context.visibleRowCount)));
        case RC::UnifySize:
            if (!unifySize()) return false;
            break;
        case RC::UnifyBackground:
            if (!unifyBackground(context)) return false;
            break;
        case RC::UnifyTemplate:
            if (!unifyTemplate(context)) return false;
            break;
        default: {
            const int n = insertCount(id);
            if (n == 0) return false;
            insertRecords(n);
            break;
        }
    }
    changed();
    return true;
}

}  // namespace pemo
