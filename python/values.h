// Values coming from Python, checked before the core sees them: whole numbers, reals kept at
// the program's precision, paths and field texts. A value of the wrong type raises TypeError,
// one out of range ValueError, each naming what it was for and what it takes.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace vorla::python {

namespace py = pybind11;

// Raises `type` (PyExc_ValueError, …) with `message`.
[[noreturn]] void Raise(PyObject* type, const std::string& message);

// The repr() of a value, for messages.
std::string Repr(py::handle value);

// A whole number from lo to hi: a Python int or anything with __index__, not a bool.
long long WholeNumber(py::handle value, const std::string& what, long long lo, long long hi);
// A whole number from 0 to 2^64 - 1 (a random seed).
std::uint64_t Seed(py::handle value);

// A finite real number as a long double: a Python int or float, or a NumPy number of any
// precision, numpy.longdouble taken whole.
long double RealNumber(py::handle value, const std::string& what);
// A long double as a numpy.longdouble scalar, every bit kept.
py::object LongDouble(long double v);

// The text a field takes from a value: a str as it is, a number as str() writes it (for
// numpy.longdouble, the shortest text that reads back as the same value), a bool as on/off.
std::string FieldText(py::handle value, const std::string& what);

// A file name: a str, bytes or os.PathLike.
std::string PathOf(py::handle path);

}  // namespace vorla::python
