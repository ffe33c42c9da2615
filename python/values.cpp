#include "values.h"

#include <cmath>

namespace vorla::python {
namespace {

py::module_ Numpy() {
    return py::module_::import("numpy");
}

// A str as UTF-8; a str that has none (lone surrogates) raises UnicodeEncodeError.
std::string Utf8(py::handle text) {
    Py_ssize_t size = 0;
    const char* bytes = PyUnicode_AsUTF8AndSize(text.ptr(), &size);
    if (!bytes) throw py::error_already_set();
    return std::string(bytes, static_cast<std::size_t>(size));
}

bool IsNumpyNumber(py::handle value) {
    return py::isinstance(value, Numpy().attr("number"));
}

}  // namespace

void Raise(PyObject* type, const std::string& message) {
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

std::string Repr(py::handle value) {
    py::object text = py::repr(value);
    // A message quotes a value, not a whole document.
    if (py::len(text) > 80) text = py::str(text[py::slice(0, 77, 1)]) + py::str("...");
    return Utf8(text);
}

long long WholeNumber(py::handle value, const std::string& what, long long lo, long long hi) {
    const std::string takes = what + " takes a whole number from " + std::to_string(lo) + " to " +
                              std::to_string(hi) + ", not " + Repr(value);
    if (PyBool_Check(value.ptr()) || !PyIndex_Check(value.ptr())) Raise(PyExc_TypeError, takes);
    const auto index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
    if (!index) throw py::error_already_set();
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (v == -1 && PyErr_Occurred()) throw py::error_already_set();
    if (overflow != 0 || v < lo || v > hi) Raise(PyExc_ValueError, takes);
    return v;
}

std::uint64_t Seed(py::handle value) {
    const std::string takes = "seed takes a whole number from 0 to 2**64 - 1, not " + Repr(value);
    if (PyBool_Check(value.ptr()) || !PyIndex_Check(value.ptr())) Raise(PyExc_TypeError, takes);
    const auto index = py::reinterpret_steal<py::object>(PyNumber_Index(value.ptr()));
    if (!index) throw py::error_already_set();
    const unsigned long long v = PyLong_AsUnsignedLongLong(index.ptr());
    if (PyErr_Occurred()) {
        PyErr_Clear();  // negative or too large: the range is the message
        Raise(PyExc_ValueError, takes);
    }
    return v;
}

long double RealNumber(py::handle value, const std::string& what) {
    const std::string takes = what + " takes a finite real number, not " + Repr(value);
    long double v = 0;
    if (PyBool_Check(value.ptr())) {
        Raise(PyExc_TypeError, takes);
    } else if (PyFloat_Check(value.ptr())) {
        v = PyFloat_AsDouble(value.ptr());
    } else if (PyLong_Check(value.ptr())) {
        int overflow = 0;
        const long long whole = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
        if (whole == -1 && PyErr_Occurred()) throw py::error_already_set();
        if (overflow == 0) {
            v = static_cast<long double>(whole);
        } else {
            // Beyond 64 bits: through the float of the int, or no number at all.
            const double d = PyLong_AsDouble(value.ptr());
            if (d == -1.0 && PyErr_Occurred()) {
                PyErr_Clear();
                Raise(PyExc_ValueError, takes);
            }
            v = d;
        }
    } else if (IsNumpyNumber(value) && !py::isinstance(value, Numpy().attr("complexfloating"))) {
        const auto a =
            py::array::ensure(Numpy().attr("asarray")(value, Numpy().attr("longdouble")));
        if (!a || a.ndim() != 0) Raise(PyExc_TypeError, takes);
        v = *static_cast<const long double*>(a.data());
    } else {
        Raise(PyExc_TypeError, takes);
    }
    if (!std::isfinite(v)) Raise(PyExc_ValueError, takes);
    return v;
}

py::object LongDouble(long double v) {
    py::array_t<long double> a(std::vector<py::ssize_t>{});
    *a.mutable_data() = v;
    return a[py::tuple()];
}

std::string FieldText(py::handle value, const std::string& what) {
    if (py::isinstance<py::str>(value)) return Utf8(value);
    if (PyBool_Check(value.ptr())) return value.ptr() == Py_True ? "on" : "off";
    if (PyLong_Check(value.ptr()) || PyFloat_Check(value.ptr()) ||
        (IsNumpyNumber(value) && !py::isinstance(value, Numpy().attr("complexfloating"))))
        return py::str(value).cast<std::string>();
    Raise(PyExc_TypeError, what + " takes a text or a number, not " + Repr(value));
}

std::string PathOf(py::handle path) {
    const py::object name = py::module_::import("os").attr("fspath")(path);
    std::string text = py::isinstance<py::str>(name) ? Utf8(name) : name.cast<std::string>();
    if (text.empty()) Raise(PyExc_ValueError, "a file name may not be empty");
    if (text.find('\0') != std::string::npos)
        Raise(PyExc_ValueError, "a file name may not hold a NUL character");
    return text;
}

}  // namespace vorla::python
