#include "DatabaseImportDialog.h"

#include <QProgressDialog>

#include "CancelWatch.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "FileDialogLook.h"
#include "DatabasePreviewModel.h"
#include "core/codecs/Gbk.h"
#include "core/config/VariableNameList.h"
#include "core/platform/Messages.h"

namespace pemo {

namespace {

constexpr int kPairsPerLine = 3;
constexpr int kPreviewColumnWidth = 70;

QString noneText() { return QString::fromUtf8("空"); }

}  // namespace

DatabaseImportDialog::DatabaseImportDialog(const VariableNameList& names, QWidget* parent)
    : QFileDialog(parent), names_(names) {
    setOption(QFileDialog::DontUseNativeDialog);
    FileDialogLook::prepare(*this);
    setWindowTitle(QString::fromUtf8("导入"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters({QString::fromUtf8("所有文件 (*.mdb)"),
                    QString::fromUtf8("Access 2007数据库 (*.accdb)"),
                    QString::fromUtf8("SQLite数据库 (*.db *.sqlite *.sqlite3)"),
                    QString::fromUtf8("全部文件 (*)")});
    setDefaultSuffix(QStringLiteral("mdb"));

    auto* pane = new QWidget(this);
    auto* paneLayout = new QVBoxLayout(pane);
    paneLayout->setContentsMargins(0, 0, 0, 0);
    auto* group = new QGroupBox(QString::fromUtf8("设置"), pane);
    auto* grid = new QGridLayout(group);
    tables_ = new QComboBox(group);
    tables_->setObjectName(QStringLiteral("tables"));
    condition_ = new QLineEdit(group);
    condition_->setObjectName(QStringLiteral("condition"));
    grid->addWidget(new QLabel(QString::fromUtf8("库表名称"), group), 0, 0);
    grid->addWidget(tables_, 0, 1);
    grid->addWidget(new QLabel(QString::fromUtf8("导入条件"), group), 0, 2);
    grid->addWidget(condition_, 0, 3, 1, 3);
    const char* const priceLabels[] = {"商品原价", "商品现价", "商品折扣"};
    const char* const priceCaptions[] = {"原价", "现价", "折扣"};
    QStringList captions;
    for (int t = 0; t < ImportSettings::kTargetCount; ++t) {
        const bool variable = t < VariableNameList::kVariableCount;
        const QString label = variable ? Gbk::toUnicode(names.name(t))
                                       : QString::fromUtf8(priceLabels[t - VariableNameList::kVariableCount]);
        auto* box = new QComboBox(group);
        box->setObjectName(QStringLiteral("target%1").arg(t));
        box->setMaxVisibleItems(20);
        targets_.at(size_t(t)) = box;
        grid->addWidget(new QLabel(label, group), 1 + t / kPairsPerLine, 2 * (t % kPairsPerLine));
        grid->addWidget(box, 1 + t / kPairsPerLine, 2 * (t % kPairsPerLine) + 1);
        connect(box, &QComboBox::currentIndexChanged, this, &DatabaseImportDialog::mappingChanged);
        captions << (variable ? label : QString::fromUtf8(priceCaptions[t - VariableNameList::kVariableCount]));
    }
    for (int c = 1; c < 2 * kPairsPerLine; c += 2) grid->setColumnStretch(c, 1);
    const int row = 1 + ImportSettings::kTargetCount / kPairsPerLine;
    const int column = 2 * (ImportSettings::kTargetCount % kPairsPerLine);
    result_ = new QLineEdit(group);
    result_->setReadOnly(true);
    result_->setObjectName(QStringLiteral("result"));
    grid->addWidget(new QLabel(QString::fromUtf8("查询结果"), group), row, column);
    grid->addWidget(result_, row, column + 1);
    preview_ = new QPushButton(QString::fromUtf8("预览"), group);
    grid->addWidget(preview_, row, 2 * kPairsPerLine - 1);
    status_ = new QLabel(group);
    status_->setWordWrap(true);
    grid->addWidget(status_, row + 1, 0, 1, 2 * kPairsPerLine);
    paneLayout->addWidget(group);

    model_ = new DatabasePreviewModel(captions, this);
    view_ = new QTableView(pane);
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->horizontalHeader()->setDefaultSectionSize(kPreviewColumnWidth);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setMinimumHeight(140);
    paneLayout->addWidget(view_);

    if (auto* layout = qobject_cast<QGridLayout*>(this->layout())) {
        layout->addWidget(pane, layout->rowCount(), 0, 1, layout->columnCount());
    }
    resize(sizeHint().expandedTo(QSize(800, 720)));

    resetPane();
    connect(preview_, &QPushButton::clicked, this, &DatabaseImportDialog::preview);
    connect(condition_, &QLineEdit::textEdited, this, &DatabaseImportDialog::mappingChanged);
    connect(tables_, &QComboBox::currentIndexChanged, this, [this] {
        model_->clear();
        fillFields();
    });
    connect(this, &QFileDialog::currentChanged, this, &DatabaseImportDialog::chooseFile);
    // A path typed in full names a file the list may not show.
    if (auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        connect(name, &QLineEdit::textChanged, this, [this](const QString& text) {
            const QFileInfo typed(QDir(directory()).absoluteFilePath(text.trimmed()));
            if (!text.trimmed().isEmpty() && typed.isFile()) chooseFile(typed.absoluteFilePath());
        });
    }
}

QString DatabaseImportDialog::chosenPath() const {
    const QString path = selectedFiles().value(0);
    return path.isEmpty() || QFileInfo(path).isDir() ? QString() : path;
}

DatabaseSelection DatabaseImportDialog::selection() const {
    DatabaseSelection selection;
    selection.path = chosenPath();
    selection.table = tables_->currentText();
    selection.condition = condition_->text();
    for (size_t k = 0; k < targets_.size(); ++k) {
        if (targets_[k]->currentIndex() > 0) selection.fields[k] = targets_[k]->currentText();
    }
    return selection;
}

void DatabaseImportDialog::resetPane() {
    for (QComboBox* box : targets_) {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItem(noneText());
    }
    result_->clear();
    condition_->clear();
}

void DatabaseImportDialog::chooseFile(const QString& path) {
    if (path == connectedPath_) return;
    model_->clear();
    resetPane();
    status_->clear();
    {
        const QSignalBlocker blocker(tables_);
        tables_->clear();
    }
    connection_.close();
    connectedPath_ = path;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (connection_.open(path)) {
        const QStringList names = connection_.tables();
        const QSignalBlocker blocker(tables_);
        tables_->addItems(names);
        if (names.isEmpty()) status_->setText(connection_.message());
    } else {
        status_->setText(connection_.message());
    }
    QApplication::restoreOverrideCursor();
    fillFields();
}

void DatabaseImportDialog::fillFields() {
    resetPane();
    if (tables_->currentIndex() < 0 || !connection_.isOpen()) return;
    QStringList names;
    for (const DatabaseColumn& column : connection_.columns(tables_->currentText())) names << column.name;
    for (QComboBox* box : targets_) {
        const QSignalBlocker blocker(box);
        box->addItems(names);
        box->setCurrentIndex(0);
    }
}

void DatabaseImportDialog::mappingChanged() { result_->clear(); }

bool DatabaseImportDialog::validate() {
    const QString message = DatabaseImport::check(selection(), names_);
    if (message.isEmpty()) return true;
    Messages::current().inform(message);
    return false;
}

void DatabaseImportDialog::preview() {
    if (!validate()) return;
    model_->clear();
    result_->clear();
    CellTable table;
    QString message;
    // The condition may take long: a progress window with 取消 lets the user stop it.
    QProgressDialog progress(QString::fromUtf8("正在执行条件..."), QString::fromUtf8("取消"), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    DatabaseQuery::Limits limits;
    limits.cancelled = CancelWatch(progress);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read = DatabaseImport::read(selection(), table, message, limits);
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (!read) {
        if (!message.isEmpty())
            Messages::current().inform(message);
        return;
    }
    const int count = int(table.rows.size());
    model_->setTable(std::move(table));
    result_->setText(QString::number(count));
}

void DatabaseImportDialog::accept() {
    const QString path = selectedFiles().value(0);
    if (!path.isEmpty() && (QFileInfo(path).isDir() || !QFileInfo::exists(path))) {
        QFileDialog::accept();
        return;
    }
    if (!validate()) return;
    if (result_->text().isEmpty()) {
        Messages::current().inform(QString::fromUtf8("请先预览。"));
        return;
    }
    if (result_->text() == QLatin1String("0")) {
        Messages::current().inform(DatabaseImport::noMatchMessage());
        return;
    }
    connection_.close();
    connectedPath_.clear();
    QFileDialog::accept();
}

}  // namespace pemo
