#pragma once
// The messages of the decision screens when a figure is outside the tables
// (the period entry screen and the period-0 screen say the same).

#include <QString>

inline const QString kMensajePrecio = QStringLiteral("Debe ingresar un precio con un valor entre 50 u$d y 100 uSd");
inline const QString kMensajeMarketing =
    QStringLiteral("Debe ingresar un valor para marketing entre u$s 0 y u$s 10000");
inline const QString kMensajeCapacitacion =
    QStringLiteral("Debe ingresar un valor para la capacitacion q vaya de u$s2000 en u$s2000");
