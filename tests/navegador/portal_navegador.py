#!/usr/bin/python3
"""The portal in a real browser: headless Chromium through its WebDriver.

A page of another site that posts a team's code to the portal is refused;
a team logs in with its code and submits its decisions, and a phone's
narrow page warns it of the loan its bank will not lend; another team logs
in on the same browser and must not see them. The portal runs as the tool's
own process, as a game master would start it.

Usage: portal_navegador.py CORVELIAN_CLI EJEMPLOS_DIR
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.support.ui import Select, WebDriverWait

CHROMEDRIVER = "/usr/bin/chromedriver"
CHROMIUM = "/usr/bin/chromium"


def ejecutar(cli, *argumentos):
    r = subprocess.run([cli, *argumentos], capture_output=True, text=True, timeout=120)
    return r.returncode, r.stdout, r.stderr


def puerto_libre():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def esperar_puerto(puerto, proceso, segundos=30):
    limite = time.time() + segundos
    while time.time() < limite:
        if proceso.poll() is not None:
            raise AssertionError("el portal terminó antes de abrir: " + proceso.stdout.read())
        try:
            with socket.create_connection(("127.0.0.1", puerto), timeout=1):
                return
        except OSError:
            time.sleep(0.2)
    raise AssertionError("el portal no abrió el puerto %d" % puerto)


def navegador(perfil):
    opciones = Options()
    opciones.binary_location = CHROMIUM
    for bandera in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--disable-dev-shm-usage", "--user-data-dir=" + perfil):
        opciones.add_argument(bandera)
    return webdriver.Chrome(service=Service(CHROMEDRIVER), options=opciones)


def esperar_pagina_nueva(driver):
    """Waits until the page marked by marcar_pagina has been replaced by the answer."""
    def nueva(d):
        try:
            return d.execute_script("return window.paginaAnterior === undefined && "
                                    "document.readyState === 'complete';")
        except WebDriverException:
            return False  # between two documents
    WebDriverWait(driver, 30).until(nueva)


def marcar_pagina(driver):
    driver.execute_script("window.paginaAnterior = true;")


def pulsar(driver, selector):
    """Clicks a form's button and waits for the page the answer brings."""
    marcar_pagina(driver)
    driver.find_element(By.CSS_SELECTOR, selector).click()
    esperar_pagina_nueva(driver)


def entrar(driver, base, codigo):
    driver.get(base + "/")
    campo = driver.find_element(By.NAME, "codigo")
    campo.send_keys(codigo)
    marcar_pagina(driver)
    campo.submit()
    esperar_pagina_nueva(driver)
    assert driver.current_url.endswith("/decisiones"), driver.current_url + driver.page_source[-600:]


def sitio_ajeno(destino, codigo):
    """A server on another port (another origin) whose page posts the code to the portal at once."""
    pagina = ("<!DOCTYPE html><html><body><form id='f' method='post' action='%s/entrar'>"
              "<input name='codigo' value='%s'></form><script>document.getElementById('f').submit();</script>"
              "</body></html>" % (destino, codigo)).encode()

    class Pagina(BaseHTTPRequestHandler):
        def do_GET(self):
            self.send_response(200)
            self.send_header("Content-Type", "text/html; charset=utf-8")
            self.send_header("Content-Length", str(len(pagina)))
            self.end_headers()
            self.wfile.write(pagina)

        def log_message(self, *argumentos):
            pass

    # Threads: the browser opens a spare connection that would hold a one-at-a-time server.
    servidor = ThreadingHTTPServer(("127.0.0.1", 0), Pagina)
    threading.Thread(target=servidor.serve_forever, daemon=True).start()
    return servidor


def main():
    cli, ejemplos = sys.argv[1], sys.argv[2]
    temporal = tempfile.mkdtemp(prefix="corvelian-navegador-")
    portal = driver = None
    try:
        juego = os.path.join(temporal, "juego")
        codigo, _, err = ejecutar(cli, "--datos", juego, "nuevo", os.path.join(ejemplos, "equipos.txt"),
                                  os.path.join(ejemplos, "parametros.ini"))
        assert codigo == 0, err
        codigo, _, err = ejecutar(cli, "--datos", juego, "periodo0", "90", "8000", "1000", "4000", "75", "0",
                                  "80000", "70000")
        assert codigo == 0, err
        codigo, salida, err = ejecutar(cli, "--datos", juego, "codigos")
        assert codigo == 0, err
        codigos = [linea.split("\t") for linea in salida.splitlines()]
        assert len(codigos) >= 2 and all(len(c) == 2 and len(c[1]) == 8 for c in codigos), salida
        (equipo_a, codigo_a), (equipo_b, codigo_b) = codigos[0], codigos[1]

        puerto = puerto_libre()
        portal = subprocess.Popen([cli, "--datos", juego, "portal", "--puerto", str(puerto), "--direccion",
                                   "127.0.0.1"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        esperar_puerto(puerto, portal)
        base = "http://127.0.0.1:%d" % puerto

        driver = navegador(os.path.join(temporal, "perfil"))
        driver.set_page_load_timeout(60)
        # Another site's page posts team A's code: refused, and the browser gets no session.
        ajeno = sitio_ajeno(base, codigo_a)
        try:
            marcar_pagina(driver)
            driver.get("http://localhost:%d/" % ajeno.server_address[1])
            WebDriverWait(driver, 30).until(lambda d: "/entrar" in d.current_url)
            assert "otro sitio" in driver.page_source, driver.page_source
            assert not driver.get_cookie("sesion"), driver.get_cookie("sesion")
        finally:
            ajeno.shutdown()

        # Team A: logs in (typed in lower case, as on a phone) and submits.
        entrar(driver, base, codigo_a.lower())
        assert equipo_a in driver.find_element(By.TAG_NAME, "h1").text
        galleta = driver.get_cookie("sesion")
        assert galleta and galleta["httpOnly"] and galleta.get("sameSite") == "Strict", galleta
        # A price out of range comes back with the decision screen's own message, and nothing is stored.
        campo = driver.find_element(By.NAME, "precio")
        campo.clear()
        campo.send_keys("30")
        pulsar(driver, "form[action='/decisiones'] button")
        primer_envio = time.monotonic()
        assert "Debe ingresar un precio con un valor entre u$s 50 y u$s 100" in driver.page_source
        assert "están guardadas" not in driver.page_source
        enviadas = {"precio": "77", "marketing": "4321", "invYDes": "1234", "capacitacion": "6000",
                    "invPlanta": "55555", "pedPrestamoA": "15000", "pedPrestamoB": "2000",
                    "devPrestamoA": "0", "devPrestamoB": "0"}
        for nombre, valor in enviadas.items():
            campo = driver.find_element(By.NAME, nombre)
            campo.clear()
            campo.send_keys(valor)
        Select(driver.find_element(By.NAME, "nivelProduccion")).select_by_value("50")
        # A team submits at most once a second: faster than any person, the script waits.
        time.sleep(max(0.0, primer_envio + 1.1 - time.monotonic()))
        pulsar(driver, "form[action='/decisiones'] button")
        assert driver.current_url.endswith("/decisiones"), driver.current_url + driver.page_source[-600:]
        assert "están guardadas" in driver.page_source, driver.page_source
        for nombre, valor in enviadas.items():
            assert driver.find_element(By.NAME, nombre).get_attribute("value") == valor, nombre

        # Bank A lends less than asked: the stored page warns, readable on a 360 px phone.
        driver.set_window_size(360, 740)
        driver.refresh()
        avisos = driver.find_element(By.ID, "avisos")
        assert avisos.is_displayed() and all(t in avisos.text for t in ("todavía le presta", "giro en descubierto",
                                                                          "quiebra")), avisos.text
        medidas = driver.execute_script("return [window.innerWidth, arguments[0].getBoundingClientRect().right, "
                                        "document.documentElement.scrollWidth];", avisos)
        assert medidas[0] <= 400 and max(medidas[1:]) <= medidas[0], medidas
        driver.set_window_size(1024, 768)

        # The game master's side: A's submission is there, the others are missing.
        codigo, _, err = ejecutar(cli, "--datos", juego, "decisiones", "--portal")
        assert codigo == 1 and "Faltan los envíos" in err and equipo_b in err and equipo_a not in err, err

        # Team A leaves; team B comes in on the same browser and sees nothing of A's.
        pulsar(driver, "form[action='/salir'] button")
        assert driver.get_cookie("sesion") is None or not driver.get_cookie("sesion")["value"]
        driver.get(base + "/decisiones")
        assert driver.find_elements(By.NAME, "codigo"), "after leaving, the login page"
        entrar(driver, base, codigo_b)
        pagina = driver.page_source
        assert equipo_b in driver.find_element(By.TAG_NAME, "h1").text
        assert equipo_a not in pagina, "team B sees team A's name"
        assert "están guardadas" not in pagina
        for nombre, valor in enviadas.items():
            assert driver.find_element(By.NAME, nombre).get_attribute("value") != valor or valor == "0", nombre
        assert Select(driver.find_element(By.NAME, "nivelProduccion")).first_selected_option.get_attribute("value") != "50"
        # No address names a company: nothing else to reach.
        driver.get(base + "/decisiones/1")
        assert "No encontrada" in driver.page_source
        print("portal en el navegador: bien")
    finally:
        if driver:
            driver.quit()
        if portal:
            portal.send_signal(signal.SIGINT)
            try:
                salida, _ = portal.communicate(timeout=30)
                assert portal.returncode == 0 and "Portal cerrado." in salida, salida
            except subprocess.TimeoutExpired:
                portal.kill()
                raise
        shutil.rmtree(temporal, ignore_errors=True)


if __name__ == "__main__":
    main()
