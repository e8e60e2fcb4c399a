#include "display/over_view.h"

COverView::COverView(CKestrilaneDoc& doc, QWidget* parent) : QWidget(parent), doc_(doc)
{
    setFocusPolicy(Qt::ClickFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void COverView::OnUpdate()
{
    update();
}

void COverView::SetThumbTop(int top)
{
    thumbTop = top;
    update();
}
