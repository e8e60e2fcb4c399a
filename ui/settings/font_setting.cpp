#include "ui/settings/font_setting.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engine/platform/cp932.h"
#include "ui/platform/font_resolver.h"
#include "ui/platform/cp932_text.h"

namespace {

const QString kBothCaption = QStringLiteral(u"左右Viewウインドウフォント設定");
const QString kLeftCaption = QStringLiteral(u"左Viewウインドウフォント設定");

}  // namespace

QString CharSetName(int code)
{
    switch (code) {
    case 0: return QStringLiteral("ANSI");
    case 1: return QStringLiteral("DEFAULT_CHARSET");
    case 128: return QStringLiteral("Japanese (Shift-JIS)");
    case 129: return QStringLiteral("Korean");
    case 134: return QStringLiteral("Chinese Simplified (GB2312)");
    case 136: return QStringLiteral("Chinese Traditional (Big5)");
    case 204: return QStringLiteral("RUSSIAN");
    default: return QStringLiteral("CODE=%1").arg(code);
    }
}

QString FontSizeText(int size, int height, int dpi)
{
    if (height < 0)
        return QStringLiteral(u"%1ポイント").arg(std::lround(-height * 72.0 / std::max(dpi, 1)));
    return QStringLiteral("%1:%2").arg(size).arg(height);
}

CFontSetting::CFontSetting(const kl::FontSettings& fonts, QWidget* parent) : QDialog(parent), fonts_(fonts)
{
    setWindowTitle(QStringLiteral(u"フォントの設定"));
    pickFont = [](QFont& font, QWidget* parentWidget) {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, parentWidget);
        if (ok)
            font = chosen;
        return ok;
    };

    individual_ = new QCheckBox(QStringLiteral(u"ウインドウごとにフォントを設定する"), this);
    const auto makeGroup = [this](const QString& title, QPushButton*& button, QLabel*& face, QLabel*& charSet) {
        auto* group = new QGroupBox(title, this);
        auto* grid = new QGridLayout(group);
        button = new QPushButton(QStringLiteral(u"設定(&F)"), group);
        face = new QLabel(group);
        charSet = new QLabel(group);
        grid->addWidget(button, 0, 0, 2, 1);
        grid->addWidget(face, 0, 1);
        grid->addWidget(charSet, 1, 1);
        grid->setColumnStretch(1, 1);
        return group;
    };
    group1_ = makeGroup(kBothCaption, button1_, face1_, charSet1_);
    group2_ = makeGroup(QStringLiteral(u"右Viewウインドウのフォント"), button2_, face2_, charSet2_);
    size_ = new QLabel(this);
    size_->setAlignment(Qt::AlignCenter);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral(u"フォントの大きさ"), this));
    sizeRow->addWidget(size_, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral(u"ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(individual_);
    layout->addWidget(group1_);
    layout->addWidget(group2_);
    layout->addLayout(sizeRow);
    layout->addWidget(buttons);

    individual_->setChecked(fonts_.individual != 0);
    connect(individual_, &QCheckBox::toggled, this, [this](bool on) {
        fonts_.individual = on ? 1 : 0;
        ShowValues();
    });
    connect(button1_, &QPushButton::clicked, this, [this] { Choose(0); });
    connect(button2_, &QPushButton::clicked, this, [this] { Choose(1); });
    ShowValues();
}

void CFontSetting::ShowValues()
{
    const bool individual = fonts_.individual != 0;
    group1_->setTitle(individual ? kLeftCaption : kBothCaption);
    group2_->setEnabled(individual);
    face1_->setText(FromCp932(fonts_.faceName1));
    face2_->setText(FromCp932(fonts_.faceName2));
    charSet1_->setText(CharSetName(fonts_.charSet1));
    charSet2_->setText(CharSetName(fonts_.charSet2));
    size_->setText(FontSizeText(fonts_.height < 0 ? 0 : fonts_.size, fonts_.height, logicalDpiY()));
}

// Both fonts share the size: whichever is chosen sets it for both.
void CFontSetting::Choose(int which)
{
    std::string& face = which == 0 ? fonts_.faceName1 : fonts_.faceName2;
    int& weight = which == 0 ? fonts_.weight1 : fonts_.weight2;
    QFont font = kl::CreateViewFont(face, fonts_.height, fonts_.height < 0 ? 0 : fonts_.size, weight);
    if (!pickFont(font, this))
        return;
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = static_cast<int>(std::lround(font.pointSizeF() * logicalDpiY() / 72.0));
    fonts_.height = -std::max(pixels, 1);
    fonts_.size = 0;
    face = kl::Utf16ToCp932(font.family().toStdU16String());
    weight = font.weight();
    ShowValues();
}
