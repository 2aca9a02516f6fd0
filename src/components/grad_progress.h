#pragma once

#include <QWidget>

// The converter's progress bar: a bevelled frame, the done part as a colour gradient,
// the rest in a background colour, and the percentage written over it.
//
// Every setter that changes the picture repaints at once, synchronously, so the bar
// stays current while a long command keeps the event loop from running; a setter that
// changes nothing paints nothing. Colours are 32-bit values as colour_value.h
// describes. The percentage is written in the widget's font, in its palette's
// foreground (WindowText) colour; Enabled, Visible and Font are the widget's own.
class TGradProgress : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(TBevelStyle BevelStyle READ bevelStyle WRITE setBevelStyle)
    Q_PROPERTY(int BevelWidth READ bevelWidth WRITE setBevelWidth)
    Q_PROPERTY(quint32 StartColor READ startColor WRITE setStartColor)
    Q_PROPERTY(quint32 EndColor READ endColor WRITE setEndColor)
    Q_PROPERTY(int Position READ position WRITE setPosition)
    Q_PROPERTY(int MaxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(int Step READ step WRITE setStep)
    Q_PROPERTY(bool ShowPercent READ showPercent WRITE setShowPercent)
    Q_PROPERTY(quint32 BackColor READ backColor WRITE setBackColor)

public:
    enum TBevelStyle { bsLowered, bsRaised };
    Q_ENUM(TBevelStyle)

    // 150 x 16, lowered by 1, blue to red over button face, 0 of 100 in steps of 1,
    // the percentage shown in white at 10 points.
    explicit TGradProgress(QWidget *parent = nullptr);

    TBevelStyle bevelStyle() const { return m_bevelStyle; }
    int bevelWidth() const { return m_bevelWidth; }
    quint32 startColor() const { return m_startColor; }
    quint32 endColor() const { return m_endColor; }
    int position() const { return m_position; }
    int maxValue() const { return m_maxValue; }
    int step() const { return m_step; }
    bool showPercent() const { return m_showPercent; }
    quint32 backColor() const { return m_backColor; }

    void setBevelStyle(TBevelStyle style);
    // Kept only from 1 to 10, and only while twice the value is at most the width
    // minus 4; repaints even when refused.
    void setBevelWidth(int width);
    void setStartColor(quint32 colour);
    void setEndColor(quint32 colour);
    // A value outside 0 to MaxValue is ignored.
    void setPosition(int position);
    // Pulls Position down to the new maximum when it is above it.
    void setMaxValue(int maxValue);
    void setStep(int step);
    void setShowPercent(bool show);
    void setBackColor(quint32 colour);

    // Advances Position by Step through setPosition, so a step out of range does nothing.
    void Stepit();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void deriveComponents();

    TBevelStyle m_bevelStyle = bsLowered;
    int m_bevelWidth = 1;
    quint32 m_startColor = 0xFF0000; // blue
    quint32 m_endColor = 0x0000FF;   // red
    int m_position = 0;
    int m_maxValue = 100;
    int m_step = 1;
    bool m_showPercent = true;
    quint32 m_backColor;

    // The start colour's components and the end colour's differences from them,
    // taken byte by byte from the values as they stand.
    int m_r0 = 0, m_g0 = 0, m_b0 = 0;
    int m_dR = 0, m_dG = 0, m_dB = 0;
};
