#pragma once

#include <QWidget>

class QToolButton;

namespace qlx {

// A spinner without a text field of its own: two arrow buttons that move an
// integer position inside [Min, Max] by Increment and then report the click.
// It ignores the keyboard; the read-only edit beside it takes Up and Down.
class UpDown : public QWidget {
    Q_OBJECT
public:
    enum class Button { Next, Prev };

    explicit UpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    void SetRange(int min, int max);
    // Stores a position clamped to the range; reports nothing.
    void SetPosition(int position);
    void SetIncrement(int increment) { increment_ = increment; }

    // What a click on an arrow does: move by one increment, clamp, report.
    void Click(Button button);

signals:
    // After the position moved (or stayed at a limit) by a click.
    void Clicked(qlx::UpDown::Button button);

private:
    QToolButton* next_;
    QToolButton* prev_;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
};

}  // namespace qlx
