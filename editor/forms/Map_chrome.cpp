// The main window's tool bar, status bar, and the commands that show or keep them.

#include "Map.h"

#include "ui_MapForm.h"

#include "Strat.h"
#include "map_status_bar.h"
#include "map_zoom.h"
#include "picture_box.h"

#include "model/hex_cube.h"

#include <QComboBox>
#include <QLabel>

using namespace vantor;

void TMapForm::setUpChrome()
{
    // The tool bar's icons live in this library's resources, which a static library must name to keep.
    Q_INIT_RESOURCE(vantor);

    // The tool keys work while the tool bar is hidden too; a focused text field keeps its letters.
    addActions(ui->ToolGroup1->actions());
    brushSizeBox_ = new QComboBox(ui->ToolBar1);
    brushSizeBox_->setObjectName(QStringLiteral("BrushSizeBox"));
    brushSizeBox_->setToolTip(QStringLiteral("Brush size in hexes ([ smaller, ] larger)"));
    brushSizeBox_->setFocusPolicy(Qt::NoFocus);
    for (const int size : BrushSizes)
        brushSizeBox_->addItem(QString::number(size), size);
    ui->ToolBar1->addSeparator();
    ui->ToolBar1->addWidget(new QLabel(QStringLiteral(" Size "), ui->ToolBar1));
    ui->ToolBar1->addWidget(brushSizeBox_);

    QAction *toolBarShown = ui->ToolBar1->toggleViewAction();
    toolBarShown->setObjectName(QStringLiteral("ShowToolBar1"));
    toolBarShown->setText(QStringLiteral("Tool Bar"));
    ui->View1->addSeparator();
    ui->View1->addAction(toolBarShown);
    ui->ToolBar1->setVisible(ReadToolBarShown());
    // Only the user's choice is kept, not the hiding that comes with closing the window.
    connect(toolBarShown, &QAction::triggered, this, [](bool shown) { StoreToolBarShown(shown); });

    ui->ShapeWhilePainting1->setChecked(settings_.shapeWhilePainting);
    connect(ui->ShapeWhilePainting1, &QAction::toggled, this, [this](bool on) {
        settings_.shapeWhilePainting = on;
        StoreShapeWhilePainting(on);
    });

    statusBar_ = new MapStatusBar(document_, *ui->MapImage, this);
    setStatusBar(statusBar_);
    connect(ui->MapImage, &PictureBox::mouseMoved, statusBar_, [this](Qt::KeyboardModifiers modifiers, int x, int y) {
        statusBar_->showHex(pointerAt({x, y}, Qt::NoButton, modifiers).hex);
    });
    connect(zoom_, &MapZoom::zoomChanged, statusBar_, &MapStatusBar::showZoom);
    statusBar_->showZoom(zoom_->zoom());
    stratForm_->showViewArea(zoom_->visibleArea());
}
