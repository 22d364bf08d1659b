#pragma once

#include <QStringList>
#include <QValidator>

// Lets into a field only what the report file can hold (Windows-1252), so
// what the user sees is exactly what is saved. Characters the file cannot
// hold are left out of what is typed or pasted, and dropped() names them,
// so the user can be told at once; the rest of a paste goes in. A line break
// or another control character refuses a paste whole.
class Cp1252Validator : public QValidator
{
    Q_OBJECT

public:
    explicit Cp1252Validator(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;

signals:
    // Each character left out, once.
    void dropped(const QStringList &characters);
};
