#include "engine/Ordenes_UD.h"

#include "engine/Truncar.h"

#include <stdexcept>
#include <string>

namespace {
using Ext = long double;

constexpr int32_t kPrecioMinimo = 50;
constexpr int32_t kPrecioMaximo = 100;
constexpr int32_t kPasoMarketing = 1000;
constexpr int32_t kMarketingMaximo = 10000;
constexpr int kColumnas = kMarketingMaximo / kPasoMarketing + 1;

// Units ordered: one row per price from 50 to 100 u$d, one column per
// marketing spend from 0 to 10000 u$s in steps of 1000. Every row rises with
// marketing and every column falls with price.
constexpr int32_t kDemanda[kPrecioMaximo - kPrecioMinimo + 1][kColumnas] = {
    {7480, 7813, 8166, 8501, 8710, 8904, 9087, 9239, 9350, 9434, 9500},  // 50
    {7395, 7723, 8069, 8400, 8603, 8791, 8967, 9147, 9272, 9352, 9427},  // 51
    {7293, 7618, 7958, 8286, 8484, 8668, 8838, 9016, 9138, 9217, 9287},  // 52
    {7180, 7500, 7838, 8160, 8354, 8535, 8703, 8878, 8998, 9075, 9150},  // 53
    {7062, 7379, 7713, 8029, 8220, 8397, 8563, 8734, 8851, 8931, 9005},  // 54
    {6940, 7253, 7583, 7896, 8084, 8256, 8419, 8586, 8700, 8784, 8861},  // 55
    {6817, 7125, 7451, 7761, 7946, 8113, 8272, 8435, 8544, 8629, 8707},  // 56
    {6676, 6981, 7306, 7614, 7798, 7963, 8121, 8281, 8388, 8476, 8548},  // 57
    {6511, 6819, 7150, 7459, 7641, 7808, 7967, 8125, 8228, 8309, 8383},  // 58
    {6342, 6653, 6990, 7297, 7473, 7641, 7802, 7955, 8056, 8142, 8221},  // 59
    {6171, 6486, 6829, 7130, 7298, 7469, 7629, 7777, 7875, 7964, 8042},  // 60
    {5994, 6314, 6663, 6958, 7120, 7289, 7448, 7592, 7685, 7773, 7847},  // 61
    {5812, 6138, 6495, 6781, 6941, 7109, 7266, 7404, 7492, 7577, 7653},  // 62
    {5622, 5958, 6324, 6593, 6752, 6918, 7076, 7208, 7288, 7372, 7449},  // 63
    {5424, 5774, 6149, 6398, 6561, 6720, 6871, 7001, 7078, 7160, 7233},  // 64
    {5218, 5587, 5968, 6201, 6362, 6513, 6660, 6792, 6872, 6954, 7027},  // 65
    {5003, 5409, 5788, 6009, 6173, 6315, 6464, 6607, 6690, 6773, 6844},  // 66
    {4795, 5228, 5596, 5819, 5988, 6134, 6287, 6436, 6522, 6604, 6678},  // 67
    {4590, 5036, 5400, 5626, 5800, 5962, 6118, 6274, 6367, 6454, 6527},  // 68
    {4390, 4828, 5195, 5429, 5617, 5798, 5968, 6134, 6240, 6328, 6400},  // 69
    {4188, 4607, 4978, 5220, 5425, 5626, 5813, 5993, 6122, 6213, 6283},  // 70
    {3973, 4377, 4753, 5000, 5224, 5444, 5650, 5843, 5997, 6080, 6151},  // 71
    {3752, 4136, 4513, 4769, 5012, 5250, 5472, 5683, 5859, 5944, 6016},  // 72
    {3527, 3886, 4261, 4527, 4789, 5046, 5285, 5514, 5711, 5793, 5864},  // 73
    {3297, 3632, 3999, 4280, 4564, 4838, 5095, 5340, 5558, 5644, 5713},  // 74
    {3070, 3398, 3719, 4030, 4334, 4626, 4900, 5161, 5397, 5485, 5559},  // 75
    {2850, 3170, 3485, 3788, 4082, 4363, 4628, 4881, 5106, 5189, 5260},  // 76
    {2637, 2950, 3256, 3550, 3832, 4102, 4359, 4606, 4823, 4906, 4979},  // 77
    {2432, 2737, 3032, 3317, 3590, 3850, 4098, 4337, 4545, 4627, 4700},  // 78
    {2235, 2532, 2819, 3094, 3362, 3613, 3853, 4083, 4280, 4363, 4438},  // 79
    {2047, 2335, 2613, 2880, 3137, 3380, 3609, 3827, 4015, 4098, 4170},  // 80
    {1867, 2146, 2416, 2678, 2927, 3157, 3375, 3584, 3759, 3847, 3926},  // 81
    {1696, 1966, 2229, 2480, 2717, 2938, 3146, 3343, 3505, 3594, 3667},  // 82
    {1535, 1797, 2056, 2295, 2515, 2723, 2914, 3099, 3243, 3327, 3406},  // 83
    {1485, 1735, 1975, 2203, 2410, 2607, 2789, 2966, 3121, 3205, 3283},  // 84
    {1343, 1582, 1809, 2026, 2222, 2406, 2579, 2744, 2891, 2974, 3051},  // 85
    {1208, 1438, 1653, 1859, 2044, 2217, 2380, 2532, 2670, 2758, 2835},  // 86
    {1080, 1300, 1509, 1705, 1879, 2040, 2192, 2335, 2461, 2543, 2620},  // 87
    { 960, 1171, 1366, 1550, 1713, 1865, 2007, 2138, 2256, 2338, 2404},  // 88
    { 847, 1048, 1237, 1410, 1566, 1711, 1847, 1972, 2082, 2196, 2247},  // 89
    { 742,  931, 1103, 1259, 1404, 1540, 1666, 1782, 1881, 1966, 2040},  // 90
    { 645,  823,  986, 1134, 1271, 1396, 1513, 1620, 1713, 1799, 1876},  // 91
    { 556,  722,  873, 1013, 1142, 1259, 1371, 1470, 1554, 1641, 1713},  // 92
    { 476,  699,  769,  900, 1022, 1133, 1236, 1328, 1403, 1488, 1566},  // 93
    { 403,  544,  676,  798,  911, 1015, 1106, 1186, 1255, 1344, 1417},  // 94
    { 338,  469,  589,  701,  805,  902,  986, 1059, 1113, 1200, 1278},  // 95
    { 280,  400,  513,  616,  708,  793,  870,  935,  978, 1062, 1139},  // 96
    { 230,  341,  443,  534,  617,  693,  759,  807,  841,  952, 1002},  // 97
    { 188,  289,  381,  465,  540,  600,  651,  690,  717,  803,  874},  // 98
    { 155,  248,  331,  406,  468,  523,  567,  598,  613,  691,  771},  // 99
    { 130,  217,  296,  362,  415,  456,  486,  505,  513,  596,  668},  // 100
};
}  // namespace

int32_t TOrdenes::ordenesPorInvDes(int32_t pozo, int32_t invYDesPropia, int32_t invYDesZona) {
    if (invYDesZona == 0) invYDesZona = 1;
    return truncar(Ext(invYDesPropia) / invYDesZona * pozo);
}

int32_t TOrdenes::ajustePorPrecio(int32_t sumaPreciosZona, int32_t precio, uint8_t multMas, uint8_t multMenos,
                                  uint8_t cantZona) {
    if (cantZona == 0)
        throw std::out_of_range("ajuste por precio: la zona no tiene empresas (cantidad 0); el promedio no existe");
    const double promedio = static_cast<double>(Ext(sumaPreciosZona) / cantZona);
    if (precio > promedio) return truncar((Ext(promedio) - precio) * multMenos);
    if (precio < promedio) return truncar((Ext(promedio) - precio) * multMas);
    return 0;
}

void TOrdenes::calcularOrdenes(int32_t ajustePrecio, int32_t ordenesInvDes, double modificador, int32_t disponibles,
                               int32_t marketing, int32_t precio, int32_t& ordenesRecibidas, int32_t& ventas,
                               int32_t& ordenesNoRealizadas, int32_t& stockFinal) {
    if (precio < kPrecioMinimo || precio > kPrecioMaximo)
        throw std::out_of_range("el precio " + std::to_string(precio) +
                                " no está en la tabla de demanda (de 50 a 100)");
    if (marketing < 0)
        throw std::out_of_range("el marketing " + std::to_string(marketing) +
                                " no está en la tabla de demanda (no puede ser negativo)");

    const int32_t* fila = kDemanda[precio - kPrecioMinimo];
    int32_t ordenes = 0;
    if (marketing > kMarketingMaximo) {
        // Beyond the last column the market orders nothing; no correction applies.
        ordenes = 0;
    } else if (marketing % kPasoMarketing == 0) {
        const int32_t celda = fila[marketing / kPasoMarketing];
        ordenes = envolver(int64_t{celda} + ajustePrecio + ordenesInvDes - truncar(Ext(celda) * modificador));
    } else {
        // Straight line between the two neighbouring columns. The slope, the
        // step and the table value are doubles; the value keeps its fraction.
        const int i = marketing / kPasoMarketing + 1;
        const double pendiente = static_cast<double>(Ext(fila[i] - fila[i - 1]) / kPasoMarketing);
        const double tramo = static_cast<double>(Ext(pendiente) * (i * kPasoMarketing - marketing));
        const double valor = static_cast<double>(Ext(fila[i]) - tramo);
        ordenes = truncar(Ext(ajustePrecio) + valor + ordenesInvDes - truncar(Ext(valor) * modificador));
    }
    if (ordenes < 0) ordenes = 0;

    ordenesRecibidas = ordenes;
    if (ordenes >= disponibles) {
        ventas = disponibles;
        ordenesNoRealizadas = envolver(int64_t{ordenes} - disponibles);
        stockFinal = 0;
    } else {
        ventas = ordenes;
        ordenesNoRealizadas = 0;
        stockFinal = envolver(int64_t{disponibles} - ordenes);
    }
}
