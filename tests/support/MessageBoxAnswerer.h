#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// Answers every message box that comes up while it lives: records its text and the caption of its
// default button, then clicks the button captioned answer (the default button when answer is
// empty). Other modal windows are left alone.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QString answer = QString()) : m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answerOne(); });
        m_timer.start(5);
    }

    const QStringList& texts() const { return m_texts; }
    const QStringList& defaults() const { return m_defaults; }
    void setAnswer(const QString& answer) { m_answer = answer; }

private:
    void answerOne() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        m_texts << box->text();
        m_defaults << (box->defaultButton() ? box->defaultButton()->text() : QString());
        QAbstractButton* chosen = box->defaultButton();
        for (QAbstractButton* button : box->buttons()) {
            if (!m_answer.isEmpty() && button->text() == m_answer)
                chosen = button;
        }
        if (!chosen && !box->buttons().isEmpty())
            chosen = box->buttons().first();
        if (chosen)
            chosen->click();
    }

    QString m_answer;
    QTimer m_timer;
    QStringList m_texts;
    QStringList m_defaults;
};
