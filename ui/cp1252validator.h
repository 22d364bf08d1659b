#pragma once

#include <QValidator>

// Lets into a field only what the report file can hold (Windows-1252), so
// what the user sees is exactly what is saved. A paste with any other
// character is refused whole.
class Cp1252Validator : public QValidator
{
    Q_OBJECT

public:
    explicit Cp1252Validator(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
};
