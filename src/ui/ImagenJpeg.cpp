#include "ui/ImagenJpeg.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not
// return; it jumps back to the decoder, which then gives up on the picture.
// Nothing with a destructor lives in the frames the jump crosses: they all
// belong to libjpeg.
struct ErrorJpeg {
    jpeg_error_mgr base;
    std::jmp_buf salto;
};

void salirPorError(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<ErrorJpeg*>(cinfo->err);
    std::longjmp(error->salto, 1);
}

void sinMensajes(j_common_ptr) {}

// Decodes into imagen, which the caller owns; false when libjpeg failed.
bool decodificar(const unsigned char* datos, unsigned long tamano, QImage& imagen) {
    jpeg_decompress_struct cinfo{};
    ErrorJpeg error{};
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = salirPorError;
    error.base.output_message = sinMensajes;
    if (setjmp(error.salto)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, datos, tamano);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) longjmp(error.salto, 1);
    imagen = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                    QImage::Format_RGB888);
    if (imagen.isNull()) longjmp(error.salto, 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW fila = imagen.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &fila, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

QImage decodificarJpeg(const QByteArray& datos) {
    if (datos.isEmpty()) return {};
    QImage imagen;
    if (!decodificar(reinterpret_cast<const unsigned char*>(datos.constData()),
                     static_cast<unsigned long>(datos.size()), imagen))
        return {};
    return imagen;
}

QImage imagenDeRecurso(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return {};
    return decodificarJpeg(archivo.readAll());
}
