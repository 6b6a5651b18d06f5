#include "widgets/ProcessRunningWarning.h"

#include "widgets/DialogText.h"
#include "widgets/WindowStyle.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

namespace trv {

namespace {

constexpr int CaptionDialog = 7;
constexpr int CaptionLabel1 = 8;
constexpr int CaptionLabel2 = 9;
constexpr int CaptionAbort = 10;
constexpr int HintAbort = 11;
constexpr int CaptionContinue = 12;
constexpr int HintContinue = 13;

constexpr int PictureWidth = 51;
constexpr int PictureHeight = 49;

// A yellow warning triangle with an exclamation mark, drawn to the picture's size.
QPixmap warningSign() {
    QPixmap picture(PictureWidth, PictureHeight);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(PictureWidth / 2.0, 3);
    triangle.lineTo(PictureWidth - 3, PictureHeight - 4);
    triangle.lineTo(3, PictureHeight - 4);
    triangle.closeSubpath();
    painter.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(255, 214, 0));
    painter.drawPath(triangle);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(PictureWidth / 2.0 - 2.5, 16, 5, 17), 2, 2);
    painter.drawEllipse(QPointF(PictureWidth / 2.0, 38.5), 3, 3);
    return picture;
}

} // namespace

ProcessRunningWarning::ProcessRunningWarning(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("TFormW");
    setFixedSize(ClientWidth, ClientHeight);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setFont(dialogFont(13));
    setWindowBackground(*this, DesignBackground);

    const CaptionTable& captions = ctx.texts.captions;
    setWindowTitle(captionOr(captions, CaptionDialog, QStringLiteral("Warning")));
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(32, 16, PictureWidth, PictureHeight);
    Image1->setPixmap(warningSign());
    Label1 =
        plainLabel(new QLabel(captionOr(captions, CaptionLabel1, QStringLiteral("There's a process running")), this));
    Label1->setObjectName("Label1");
    Label1->move(112, 16);
    Label1->adjustSize();
    Label2 = plainLabel(new QLabel(captionOr(captions, CaptionLabel2, QStringLiteral("in the equipment.")), this));
    Label2->setObjectName("Label2");
    Label2->move(112, 38);
    Label2->adjustSize();
    AbortButton = new QPushButton(captionOr(captions, CaptionAbort, QStringLiteral("Abort")), this);
    AbortButton->setObjectName("AbortButton");
    AbortButton->setGeometry(24, 80, 129, 41);
    AbortButton->setToolTip(plainHint(captionOr(captions, HintAbort, {})));
    ContButton = new QPushButton(captionOr(captions, CaptionContinue, QStringLiteral("Continue processing")), this);
    ContButton->setObjectName("ContButton");
    ContButton->setGeometry(168, 80, 145, 41);
    ContButton->setToolTip(plainHint(captionOr(captions, HintContinue, {})));
    AbortButton->setAutoDefault(false);
    ContButton->setAutoDefault(false);

    connect(AbortButton, &QPushButton::clicked, this, [this] { AbortButtonClick(); });
    connect(ContButton, &QPushButton::clicked, this, [this] { ContButtonClick(); });
}

void ProcessRunningWarning::ContButtonClick() {
    ctx_.session.continueFlag = true;
    accept();
}

void ProcessRunningWarning::AbortButtonClick() {
    reject();
}

} // namespace trv
