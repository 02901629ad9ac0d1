// The pieces of the pages: escaping and reading forms.

#include "portal/Paginas.h"

#include <gtest/gtest.h>

TEST(Paginas, EscaparDejaTodoComoTexto) {
    const std::pair<QString, QString> casos[] = {
        {QStringLiteral("Alfa"), QStringLiteral("Alfa")},
        {QStringLiteral("<script>x</script>"), QStringLiteral("&lt;script&gt;x&lt;/script&gt;")},
        {QStringLiteral("a & b"), QStringLiteral("a &amp; b")},
        {QStringLiteral("\"' onload='x"), QStringLiteral("&quot;&#39; onload=&#39;x")},
        {QStringLiteral("&amp;"), QStringLiteral("&amp;amp;")},
        {QStringLiteral("Ñandú %1"), QStringLiteral("Ñandú %1")},
    };
    for (const auto& [texto, esperado] : casos) EXPECT_EQ(escaparHtml(texto), esperado) << texto.toStdString();
    // A game name in Windows-1252.
    EXPECT_EQ(escapar1252("C\xED" "a <1>"), QStringLiteral("Cía &lt;1&gt;"));
}

TEST(Paginas, UnFormularioSeLeeComoLoEnviaUnNavegador) {
    struct Caso {
        QByteArray cuerpo;
        QMap<QString, QString> esperado;
    };
    const Caso casos[] = {
        {"codigo=ABCD+EFGH", {{QStringLiteral("codigo"), QStringLiteral("ABCD EFGH")}}},
        {"a=1&b=%3Cx%3E&c=", {{QStringLiteral("a"), QStringLiteral("1")}, {QStringLiteral("b"), QStringLiteral("<x>")},
                              {QStringLiteral("c"), QString()}}},
        {"a=1&a=2", {{QStringLiteral("a"), QStringLiteral("1")}}},
        {"&&solo&x=%C3%B1", {{QStringLiteral("solo"), QString()}, {QStringLiteral("x"), QStringLiteral("ñ")}}},
        {"%2B=%2B%26", {{QStringLiteral("+"), QStringLiteral("+&")}}},
        {"", {}},
    };
    for (const Caso& caso : casos) EXPECT_EQ(leerFormulario(caso.cuerpo), caso.esperado) << caso.cuerpo.constData();
}

TEST(Paginas, ElFormularioMuestraLosValoresYElToken) {
    TVistaDecisiones vista;
    vista.empresa = "Alfa";
    vista.periodo = 3;
    vista.csrf = QStringLiteral("abc123");
    vista.bancoA = "NACI\xD3N";
    vista.bancoB = "<B>";
    vista.valores = valoresDe(TRegDecision{77, 50, 4000, 9000, 1, 2, 3, 4, 5, 6});
    const QString pagina = QString::fromUtf8(paginaDecisiones(vista));
    for (const char* fragmento : {"name=\"csrf\" value=\"abc123\"", "name=\"periodo\" value=\"3\"", "value=\"77\"",
                                  "<option value=\"50\" selected>", "name=\"devPrestamoB\"", "value=\"6\"",
                                  "name=\"viewport\"", "Préstamo pedido al banco NACIÓN", "Devolución al banco &lt;B&gt;",
                                  // Each field's help line, tied to it, with the bank's name escaped.
                                  "id=\"ayuda-precio\"", "aria-describedby=\"ayuda-precio\"",
                                  "aria-describedby=\"ayuda-nivelProduccion\"", "deuda con el banco &lt;B&gt; que"})
        EXPECT_TRUE(pagina.contains(QString::fromUtf8(fragmento))) << fragmento;
    EXPECT_FALSE(pagina.contains(QStringLiteral("<script")));
    EXPECT_FALSE(pagina.contains(QStringLiteral("http")));
}
