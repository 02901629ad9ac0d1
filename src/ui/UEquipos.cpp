#include "ui/UEquipos.h"

#include "juego/Juego.h"
#include "reports/Reportes_UD.h"
#include "ui/Formularios.h"
#include "ui/ServicioDialogos.h"
#include "documentos/TextoQt.h"
#include "ui/UDatosIniciales.h"
#include "ui/UPrincipal.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <exception>
#include <string>
#include <vector>

namespace {

// The style column is changed through its list of styles, never typed.
class TSinEditor : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }
};

const QString kEquipo = QStringLiteral("equipo (persona)");

QString textoEstilo(TEstilo estilo) {
    return QStringLiteral("computadora (%1)").arg(QString::fromLatin1(nombreEstilo(estilo)));
}

}  // namespace

TFEquipos::TFEquipos(TJuego& juego, TFPrincipal* principal) : QWidget(principal), juego_(juego), principal_(principal) { FormCreate(); }

void TFEquipos::FormCreate() {
    setObjectName(QStringLiteral("FEquipos"));
    prepararPantalla(this, QStringLiteral("Nuevo Juego - Carga de equipos"));

    // Created in tab order: the list, the name, the buttons beside them, then the band.
    auto* marco = new QGroupBox(QStringLiteral("Equipos"), this);
    marco->setObjectName(QStringLiteral("GroupBox1"));
    crearLista(marco);
    auto* etiqueta = new QLabel(QStringLiteral("Nombre del equipo:"), marco);
    etiqueta->setObjectName(QStringLiteral("Label1"));
    edNombreEquipo = new QLineEdit(marco);
    edNombreEquipo->setObjectName(QStringLiteral("edNombreEquipo"));
    etiqueta->setBuddy(edNombreEquipo);
    QVBoxLayout* botones = crearBotones(marco);

    auto* izquierda = new QVBoxLayout;
    izquierda->addWidget(lsvEquipos);
    izquierda->addSpacing(6);
    izquierda->addWidget(etiqueta);
    izquierda->addWidget(edNombreEquipo);
    auto* contenido = new QHBoxLayout(marco);
    contenido->addLayout(izquierda);
    contenido->addSpacing(8);
    contenido->addLayout(botones);
    ubicarConBanda(marco);

    conectar();
    prepararTeclado(this);
    fijarTamano(this);
    centrarSobre(this, principal_);
    edNombreEquipo->setFocus();
}

void TFEquipos::crearLista(QWidget* marco) {
    lsvEquipos = new QTreeWidget(marco);
    lsvEquipos->setObjectName(QStringLiteral("lsvEquipos"));
    lsvEquipos->setColumnCount(3);
    lsvEquipos->setHeaderLabels({QStringLiteral("Nro."), QStringLiteral("Nombre"), QStringLiteral("Juega")});
    lsvEquipos->setItemDelegateForColumn(2, new TSinEditor(lsvEquipos));
    lsvEquipos->setHeaderHidden(true);
    lsvEquipos->setRootIsDecorated(false);
    lsvEquipos->setItemsExpandable(false);
    lsvEquipos->setUniformRowHeights(true);
    lsvEquipos->setSelectionMode(QAbstractItemView::SingleSelection);
    lsvEquipos->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A name is corrected in place (double click or F2), the number stays.
    lsvEquipos->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    lsvEquipos->setColumnWidth(0, 30);
    lsvEquipos->setColumnWidth(1, 230);
    lsvEquipos->setColumnWidth(2, 150);
    lsvEquipos->header()->setStretchLastSection(true);
    lsvEquipos->setFixedSize(440, 260);
}

QVBoxLayout* TFEquipos::crearBotones(QWidget* marco) {
    auto boton = [marco](const QString& texto, const QString& nombre, const QString& ayuda) {
        auto* b = new QPushButton(texto, marco);
        b->setObjectName(nombre);
        b->setToolTip(ayuda);
        b->setMinimumWidth(120);
        b->setAutoDefault(false);
        return b;
    };
    btnAgregar = boton(QStringLiteral("Agregar"), QStringLiteral("btnAgregar"),
                       QStringLiteral("Agrega el nombre escrito al final de la lista"));
    btnQuitar = boton(QStringLiteral("Quitar"), QStringLiteral("btnQuitar"),
                      QStringLiteral("Quita el equipo seleccionado"));
    btnLimpiar = boton(QStringLiteral("Limpiar"), QStringLiteral("btnLimpiar"), QStringLiteral("Vacía la lista"));
    btnAgregarVarios = boton(QStringLiteral("Agregar Varios"), QStringLiteral("btnAgregarVarios"),
                             QStringLiteral("Agrega varios equipos numerados con el nombre escrito"));
    btnComputadora = boton(QStringLiteral("Agregar empresas de la computadora…"), QStringLiteral("btnComputadora"),
                           QStringLiteral("Agrega empresas que juega la computadora, con el estilo elegido"));
    btnSubir = boton(QStringLiteral("Subir"), QStringLiteral("btnSubir"), QStringLiteral("Sube un lugar el equipo seleccionado"));
    btnBajar = boton(QStringLiteral("Bajar"), QStringLiteral("btnBajar"), QStringLiteral("Baja un lugar el equipo seleccionado"));

    auto* botones = new QVBoxLayout;
    botones->addWidget(btnAgregar);
    botones->addWidget(btnQuitar);
    botones->addWidget(btnLimpiar);
    botones->addWidget(btnSubir);
    botones->addWidget(btnBajar);
    botones->addSpacing(12);
    botones->addWidget(btnAgregarVarios);
    botones->addWidget(btnComputadora);
    botones->addStretch(1);
    return botones;
}

void TFEquipos::ubicarConBanda(QWidget* marco) {
    btnGuardar = crearBotonImagen(QStringLiteral("btnGuardar"), QStyle::SP_DialogSaveButton,
                                  QStringLiteral("Guardar los equipos y seguir con los datos iniciales"), this);
    btnCancelar = crearBotonImagen(QStringLiteral("btnCancelar"), QStyle::SP_DialogCancelButton,
                                   QStringLiteral("Cancelar el juego nuevo"), this);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    auto* cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(12, 12, 12, 12);
    cuerpo->addWidget(marco);
    principal->addLayout(cuerpo);
    principal->addWidget(crearBandaBotones(this, btnGuardar, btnCancelar));
}

void TFEquipos::conectar() {
    connect(btnAgregar, &QPushButton::clicked, this, &TFEquipos::btnAgregarClick);
    connect(btnQuitar, &QPushButton::clicked, this, &TFEquipos::btnQuitarClick);
    connect(btnLimpiar, &QPushButton::clicked, this, &TFEquipos::btnLimpiarClick);
    connect(btnAgregarVarios, &QPushButton::clicked, this, &TFEquipos::btnAgregarVariosClick);
    connect(btnComputadora, &QPushButton::clicked, this, &TFEquipos::btnComputadoraClick);
    connect(lsvEquipos, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* fila, int columna) {
        if (columna == 2) cambiarEstilo(lsvEquipos->indexOfTopLevelItem(fila));
    });
    connect(btnSubir, &QPushButton::clicked, this, [this] { moverEquipo(-1); });
    connect(btnBajar, &QPushButton::clicked, this, [this] { moverEquipo(1); });
    connect(lsvEquipos, &QTreeWidget::itemChanged, this, &TFEquipos::nombreEditado);
    connect(btnGuardar, &QPushButton::clicked, this, &TFEquipos::btnGuardarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &TFEquipos::btnCancelarClick);
    connect(edNombreEquipo, &QLineEdit::returnPressed, this, &TFEquipos::btnAgregarClick);
}

void TFEquipos::nombreEditado(QTreeWidgetItem* fila, int columna) {
    // A name edited in place must still be a name of its own.
    if (columna != 1 || !fila->data(1, Qt::UserRole).isValid()) return;
    const QString anterior = fila->data(1, Qt::UserRole).toString();
    const QString falla = fallaDeNombre(fila->text(1), lsvEquipos->indexOfTopLevelItem(fila));
    const QSignalBlocker bloqueo(lsvEquipos);
    if (!falla.isEmpty() || fila->text(1).trimmed().isEmpty()) {
        fila->setText(1, anterior);
        if (!falla.isEmpty()) mostrarMensaje(this, falla);
    } else {
        fila->setData(1, Qt::UserRole, fila->text(1));
    }
    fila->setToolTip(1, fila->text(1));
}

int TFEquipos::cantidadEquipos() const { return lsvEquipos->topLevelItemCount(); }

QString TFEquipos::fallaDeNombre(const QString& nombre, int fila) const {
    const QString limpio = nombre.trimmed();
    if (limpio.size() > static_cast<qsizetype>(sizeof(cadena::texto)))
        return QStringLiteral("El nombre «%1» tiene %2 letras; un nombre tiene a lo sumo %3.")
            .arg(limpio)
            .arg(limpio.size())
            .arg(sizeof(cadena::texto));
    for (int k = 0; k < cantidadEquipos(); ++k) {
        const QString otro = lsvEquipos->topLevelItem(k)->text(1).trimmed();
        if (k != fila && otro.compare(limpio, Qt::CaseInsensitive) == 0)
            return QStringLiteral("«%1» es el nombre del equipo %2, «%3»: cada equipo necesita un nombre propio.")
                .arg(limpio)
                .arg(k + 1)
                .arg(otro);
    }
    return {};
}

bool TFEquipos::agregarEquipo(const QString& nombre) {
    if (nombre.trimmed().isEmpty()) return true;
    if (cantidadEquipos() >= maximoEquipos) {
        mostrarMensaje(this, QStringLiteral("Un juego admite como máximo %1 equipos; no se agregan más.")
                                 .arg(maximoEquipos));
        return false;
    }
    if (const QString falla = fallaDeNombre(nombre, -1); !falla.isEmpty()) {
        mostrarMensaje(this, falla);
        return false;
    }
    const QSignalBlocker bloqueo(lsvEquipos);
    auto* fila = new QTreeWidgetItem(lsvEquipos);
    fila->setFlags(fila->flags() | Qt::ItemIsEditable);
    fila->setText(1, nombre);
    fila->setData(1, Qt::UserRole, nombre);
    // A name of 50 letters does not fit its column: whole under the mouse.
    fila->setToolTip(1, nombre);
    return true;
}

void TFEquipos::moverEquipo(int paso) {
    QTreeWidgetItem* fila = lsvEquipos->currentItem();
    if (!fila) return;
    const int desde = lsvEquipos->indexOfTopLevelItem(fila), hasta = desde + paso;
    if (hasta < 0 || hasta >= cantidadEquipos()) return;
    const QSignalBlocker bloqueo(lsvEquipos);
    lsvEquipos->insertTopLevelItem(hasta, lsvEquipos->takeTopLevelItem(desde));
    enumerarEquipos();
    lsvEquipos->setCurrentItem(fila);
}

void TFEquipos::enumerarEquipos() {
    const QSignalBlocker bloqueo(lsvEquipos);
    for (int k = 0; k < cantidadEquipos(); ++k) {
        QTreeWidgetItem* fila = lsvEquipos->topLevelItem(k);
        fila->setText(0, QStringLiteral("%1.").arg(k + 1));
        lsvEquipos->setCurrentItem(fila);
    }
}

bool TFEquipos::guardarEquipos() {
    if (cantidadEquipos() == 0) {
        mostrarMensaje(this, QStringLiteral("Es necesario ingresar al menos un equipo para continuar."));
        return false;
    }
    std::vector<std::string> nombres;
    TComputadora computadora{semillaNueva(), {}};
    for (int k = 0; k < cantidadEquipos(); ++k) {
        const QString nombre = lsvEquipos->topLevelItem(k)->text(1).trimmed();
        const auto bytes = aCp1252(nombre);
        if (!bytes) {
            mostrarMensaje(this, QStringLiteral("El nombre \"%1\" tiene caracteres que el juego no puede "
                                                "guardar. Corríjalo y vuelva a intentar.")
                                     .arg(nombre));
            return false;
        }
        nombres.push_back(bytes->substr(0, sizeof(cadena::texto)));  // as the store keeps it
        if (const auto estilo = estiloDe(k)) computadora.empresas.push_back({nombres.back(), *estilo});
    }
    // Reports are named after the teams: names that give one file name would lose reports.
    if (const auto fallas = fallasNombresEquipos(nombres); !fallas.empty()) {
        QStringList texto;
        for (const auto& falla : fallas) texto << QString::fromStdString(falla);
        mostrarMensaje(this, texto.join(QLatin1Char('\n')));
        return false;
    }
    try {
        juego_.comprobarNombresEquipos(nombres);
        nombres_ = nombres;
        computadora_ = computadora;
    } catch (const std::exception& e) {
        mostrarError(this, e);
        return false;
    }
    return true;
}

void TFEquipos::btnAgregarClick() {
    // The box empties for the next name; a refused one stays to be corrected.
    if (agregarEquipo(edNombreEquipo->text())) edNombreEquipo->clear();
    enumerarEquipos();
    edNombreEquipo->setFocus();
}

void TFEquipos::btnQuitarClick() {
    const QList<QTreeWidgetItem*> seleccion = lsvEquipos->selectedItems();
    if (!seleccion.isEmpty()) delete seleccion.first();
    enumerarEquipos();
}

void TFEquipos::btnLimpiarClick() {
    if (dialogos().mensaje(this, QStringLiteral("Atención"), QStringLiteral("Se borrará toda la lista. ¿Desea continuar?"),
                           ServicioDialogos::Icono::advertencia,
                           ServicioDialogos::Botones::siNo) == ServicioDialogos::Respuesta::si)
        lsvEquipos->clear();
}

void TFEquipos::btnAgregarVariosClick() {
    const QString nombre = edNombreEquipo->text();
    if (nombre.isEmpty()) {
        mostrarMensaje(this, QStringLiteral("Debe ingresar un Nombre para los Equipos."));
        return;
    }
    const QString porDefecto = QStringLiteral("1");
    const QString respuesta =
        dialogos()
            .pedirTexto(this, QStringLiteral("Equipos"), QStringLiteral("Ingrese la cantidad de Equipos"), porDefecto)
            .value_or(porDefecto);
    int32_t cantidad = 0;
    try {
        cantidad = enteroDe(respuesta);
    } catch (const std::exception&) {
        return;  // not a number: nothing to add, nothing to say
    }
    for (int32_t k = 1; k <= cantidad; ++k) {
        if (!agregarEquipo(nombre + QStringLiteral(" N° ") + QString::number(k))) break;
        enumerarEquipos();
    }
}

void TFEquipos::btnGuardarClick() {
    if (!guardarEquipos()) return;
    // Kept alive while hidden: the initial data screen counts the rows and
    // shows the list again when it is cancelled.
    hide();
    (new TFDatosIniciales(juego_, principal_, this))->show();
}

void TFEquipos::btnCancelarClick() { close(); }

void TFEquipos::fijarEstilo(int fila, std::optional<TEstilo> estilo) {
    QTreeWidgetItem* item = lsvEquipos->topLevelItem(fila);
    if (!item) return;
    const QSignalBlocker bloqueo(lsvEquipos);
    item->setText(2, estilo ? textoEstilo(*estilo) : QString());
    item->setData(2, Qt::UserRole, estilo ? QVariant(static_cast<int>(*estilo)) : QVariant());
}

std::optional<TEstilo> TFEquipos::estiloDe(int fila) const {
    const QTreeWidgetItem* item = lsvEquipos->topLevelItem(fila);
    if (!item || !item->data(2, Qt::UserRole).isValid()) return std::nullopt;
    return static_cast<TEstilo>(item->data(2, Qt::UserRole).toInt());
}

void TFEquipos::cambiarEstilo(int fila) {
    if (fila < 0) return;
    QStringList opciones{kEquipo};
    for (TEstilo e : estilosComputadora()) opciones << textoEstilo(e);
    const auto actual = estiloDe(fila);
    const auto elegida = dialogos().elegirOpcion(this, QStringLiteral("Quién juega"),
                                                 QStringLiteral("¿Quién juega «%1»?").arg(lsvEquipos->topLevelItem(fila)->text(1)),
                                                 opciones, actual ? static_cast<int>(*actual) + 1 : 0);
    if (!elegida) return;
    const auto k = opciones.indexOf(*elegida);
    if (k < 0) return;
    fijarEstilo(fila, k == 0 ? std::nullopt : std::optional<TEstilo>(estilosComputadora()[static_cast<std::size_t>(k - 1)]));
}

std::optional<TPedidoComputadora> pedirEmpresasComputadora(QWidget* padre, const QString& titulo,
                                                            const QString& pregunta, const QString& preguntaEstilo,
                                                            int maximo) {
    const auto respuesta = dialogos().pedirTexto(padre, titulo, pregunta, QStringLiteral("5"));
    if (!respuesta) return std::nullopt;
    bool numero = false;
    TPedidoComputadora pedido;
    pedido.cantidad = respuesta->trimmed().toInt(&numero);
    if (!numero || pedido.cantidad < 1 || pedido.cantidad > maximo) {
        mostrarMensaje(padre, QStringLiteral("Escriba una cantidad de 1 a %1 empresas de la computadora.").arg(maximo));
        return std::nullopt;
    }
    QStringList opciones{QStringLiteral("mezcla")};
    for (TEstilo e : estilosComputadora()) opciones << QString::fromLatin1(nombreEstilo(e));
    const auto elegido = dialogos().elegirOpcion(padre, titulo, preguntaEstilo, opciones, 0);
    if (!elegido) return std::nullopt;
    pedido.estilo = estiloDeNombre(elegido->toStdString());
    return pedido;
}

void TFEquipos::btnComputadoraClick() {
    const auto pedido = pedirEmpresasComputadora(
        this, QStringLiteral("Empresas de la computadora"), QStringLiteral("¿Cuántas empresas agrega la computadora?"),
        QStringLiteral("Estilo de juego (mezcla: uno de cada uno por turno):"), maximoEquipos - cantidadEquipos());
    if (!pedido) return;
    std::vector<std::string> ocupados;
    for (int k = 0; k < cantidadEquipos(); ++k)
        ocupados.push_back(aCp1252(lsvEquipos->topLevelItem(k)->text(1).trimmed()).value_or(std::string()));
    std::size_t agregadas = 0;
    for (const std::string& nombre : nombresComputadora(static_cast<std::size_t>(pedido->cantidad), ocupados)) {
        if (!agregarEquipo(aQString(nombre))) break;
        fijarEstilo(cantidadEquipos() - 1, pedido->estilo.value_or(estiloDeMezcla(agregadas++)));
    }
    enumerarEquipos();
}
