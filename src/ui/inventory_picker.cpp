#include "ui/inventory_picker.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "ui/game_screen.h"
#include "ui/qt_text.h"

namespace morvath::ui {
namespace {

// The list's cursor stands on its first row from the moment the list has the focus, and the
// style frames that row as if it were chosen: the frame is left out, so that only a row
// really chosen stands out.
class NoCursorFrame : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace

frmBookmarks::frmBookmarks(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBookmarks"));
    setModal(true);
    setMinimumSize(560, 360);
    auto* outer = new QVBoxLayout(this);
    // The caption again inside the window: it heads the list wherever the window manager
    // puts (or hides) the title bar.
    heading_ = new QLabel(this);
    heading_->setStyleSheet(QStringLiteral("font-weight: bold; font-size: 15px; color: #eec39a;"));
    outer->addWidget(heading_);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    lstItems = new QListWidget(this);
    lstItems->setObjectName(QStringLiteral("lstItems"));
    lstItems->setMinimumWidth(320);
    lstItems->setItemDelegate(new NoCursorFrame(lstItems));
    lstItems->installEventFilter(this);
    lstItems->viewport()->installEventFilter(this);
    columns->addWidget(lstItems, 3);

    auto* side = new QVBoxLayout;
    columns->addLayout(side, 2);
    Lb1 = new QLabel(this);
    Lb1->setObjectName(QStringLiteral("Lb1"));
    Lb1->setWordWrap(true);
    Lb1->setStyleSheet(QStringLiteral("font-weight: bold; color: #fbf236; font-size: 14px;"));
    side->addWidget(Lb1);
    lblprop = new QLabel(this);
    lblprop->setObjectName(QStringLiteral("lblprop"));
    lblprop->setWordWrap(true);
    lblprop->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    side->addWidget(lblprop, 1);
    lblW = new QLabel(this);
    lblW->setObjectName(QStringLiteral("lblW"));
    side->addWidget(lblW);
    lblMoney = new QLabel(this);
    lblMoney->setObjectName(QStringLiteral("lblMoney"));
    lblMoney->setStyleSheet(QStringLiteral("color: #fbf236;"));
    side->addWidget(lblMoney);

    Label4 = new QLabel(QStringLiteral("Enter или двойной щелчок - выбрать, Esc - закрыть"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setStyleSheet(QStringLiteral("color: #9badb7;"));
    outer->addWidget(Label4);

    connect(lstItems, &QListWidget::itemSelectionChanged, this, [this] { ShowSelected(); });
    connect(lstItems, &QListWidget::itemDoubleClicked, this, [this] { PickSelected(); });
}

void frmBookmarks::Fill(const PickerContent& content) {
    content_ = content;
    picked_ = 0;
    setWindowTitle(Q(content.caption));
    heading_->setText(Q(content.caption));
    lblMoney->setText(Q(content.money));
    lstItems->clear();
    for (const auto& row : content.rows) lstItems->addItem(Q(row.line));
    Lb1->clear();
    lblprop->clear();
    lblW->clear();
}

int frmBookmarks::Ask(const PickerContent& content, QWidget* parent) {
    frmBookmarks dialog(parent);
    dialog.Fill(content);
    PlaceBesideTheHero(dialog);
    dialog.exec();
    return dialog.PickedRow();
}

void frmBookmarks::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Nothing is chosen yet: an Enter right after the key that opened the picker picks nothing.
    lstItems->setFocus();
}

int frmBookmarks::SelectedRow() const {
    const QList<QListWidgetItem*> selected = lstItems->selectedItems();
    return selected.isEmpty() ? -1 : lstItems->row(selected.front());
}

void frmBookmarks::ShowSelected() {
    const int row = SelectedRow();
    if (row < 0 || row >= static_cast<int>(content_.rows.size())) return;
    const PickerRow& r = content_.rows[static_cast<std::size_t>(row)];
    Lb1->setText(Q(r.name));
    lblprop->setText(Q(r.info));
    lblW->setText(Q(r.weight));
}

void frmBookmarks::PickSelected() {
    // With no row selected nothing is picked and the picker stays open.
    const int row = SelectedRow();
    if (row < 0) return;
    picked_ = row + 1;
    accept();
}

void frmBookmarks::mousePressEvent(QMouseEvent* event) {
    // A click beside the list closes the picker with nothing picked.
    picked_ = 0;
    reject();
    event->accept();
}

bool frmBookmarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstItems && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The first arrow press chooses the first row, wherever the list's cursor stands.
        if ((key == Qt::Key_Down || key == Qt::Key_Up) && SelectedRow() < 0 && lstItems->count() > 0) {
            lstItems->setCurrentRow(0);
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            PickSelected();
            return true;
        }
        if (key == Qt::Key_Escape) {
            picked_ = 0;
            lstItems->clear();
            reject();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace morvath::ui
