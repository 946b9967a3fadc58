#pragma once
// The picture button: shows its icon flat, the same whether or not the
// pointer is over it, reports clicks, and takes drops of files of the types
// its control accepts.

#include "runtime/control.h"

#include <QToolButton>

class QMimeData;

class QtBevelButton : public QToolButton {
  public:
    QtBevelButton(RectControl& control, QWidget* parent);
    void Update(const BevelButton& control);
    // The runtime let the control go; later events are dropped.
    void Detach() { control_ = nullptr; }

  protected:
    void initStyleOption(QStyleOptionToolButton* option) const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool Accepts(const QMimeData* mime) const;

    Ref<RectControl> control_;
};
