#pragma once

#include <QAbstractButton>
#include <QPixmap>

// One choice of an exclusive group drawn as a check-box picture: picture 0 of the
// group's two-picture list when unchecked, picture 1 when checked, followed by an
// optional icon and the caption. `tag` is its state (0 or 1) and `hint` its value.
class OptionPicture : public QAbstractButton
{
    Q_OBJECT

public:
    OptionPicture(const QString &caption, int hint, QWidget *parent = nullptr);

    int tag() const { return tag_; }
    void setTag(int tag);
    int hint() const { return hint_; }

    void setIcon(const QPixmap &icon);
    // The two check pictures shared by the group: unchecked, checked.
    void setCheckPictures(const QPixmap &unchecked, const QPixmap &checked);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int tag_ = 0;
    int hint_;
    QPixmap icon_;
    QPixmap unchecked_;
    QPixmap checked_;
};
