"""A clothing thermal-comfort run in Python, read by Corvane's own loader.

    >>> import corvane
    >>> run = corvane.load("path/to/run")
    >>> run.body                      # a row per time and part
    >>> run.fabric("Trunk")           # time, layer, node, position, six quantities
    >>> run.fabric_array("Trunk", "Temperature(Degree)")   # time x layer x node
    >>> corvane.study(["run-a", "run-b"])

Every value is a double equal to the decimal its file wrote; a place the file
left without a row (a hole) holds NaN. A run the viewer refuses raises
LoadError with the viewer's message; what it says and still loads (holes,
unreadable lines, each with its file and line) is in ``run.messages``.
"""

from __future__ import annotations

import os
from collections import namedtuple
from typing import Dict, Iterable, List, Union

import numpy as np
import pandas as pd

from . import _corvane
from ._corvane import LoadError

__all__ = ["load", "study", "Run", "LoadError", "Message", "PARTS"]

#: The body parts, in the files' order (their index is the part column).
PARTS = tuple(_corvane.PARTS)
TIME = "Time(min)"
PART = "Part"
POSITION = "Position(cm)"

#: A message of the loader: its caption ("Fabric Data"), its text, and its
#: level ("information", "warning" or "error").
Message = namedtuple("Message", ["caption", "text", "level"])

_PART_TYPE = pd.CategoricalDtype(PARTS, ordered=True)


def _table(t: np.ndarray, width: int) -> np.ndarray:
    # A table the run lacks comes as 0 x 0.
    return t if t.shape[1] == width else np.empty((0, width))


def _frame(values: np.ndarray, names: List[str], leading: Dict[str, object]) -> pd.DataFrame:
    # The values' columns over the array itself (no copy), the leading
    # columns (time, part, layer...) put in front.
    frame = pd.DataFrame(values, columns=list(names), copy=False)
    for i, (name, column) in enumerate(leading.items()):
        frame.insert(i, name, column)
    return frame


def _parts(codes: np.ndarray) -> pd.Categorical:
    return pd.Categorical.from_codes(codes.astype(np.int64), dtype=_PART_TYPE)


def _part_name(part: Union[str, int]) -> str:
    if isinstance(part, (int, np.integer)) and not isinstance(part, bool):
        if 0 <= part < len(PARTS):
            return PARTS[part]
        raise ValueError(f"no body part {part}; the parts are 0 ({PARTS[0]}) to {len(PARTS) - 1} ({PARTS[-1]})")
    return str(part)


def _quantity(quantity: Union[str, int], names: List[str], what: str) -> int:
    if isinstance(quantity, (int, np.integer)) and not isinstance(quantity, bool):
        if 0 <= quantity < len(names):
            return int(quantity)
    elif quantity in names:
        return names.index(quantity)
    raise ValueError(f"no {what} quantity {quantity!r}; they are " + ", ".join(repr(n) for n in names))


class Run:
    """One run, as ``corvane.load`` returns it."""

    def __init__(self, raw: "_corvane._Run"):
        self._raw = raw
        self.messages: List[Message] = [Message(*m) for m in raw.messages]
        self._body = None
        self._comfort = None
        self._environment = None
        self._fibres = None
        # Each table comes from the loader once, as an array that owns its
        # values; the DataFrames are made over it without a copy.
        self._fabric_tables: Dict[str, tuple] = {}
        self._fabrics: Dict[str, pd.DataFrame] = {}

    def __repr__(self) -> str:
        return f"<corvane.Run {self.directory!r}>"

    def __reduce__(self):
        # A run travels between processes (Dask's workers) as its folder, and
        # is read again where it lands.
        return (load, (self.directory,))

    @property
    def directory(self) -> str:
        return self._raw.directory

    @property
    def body(self) -> pd.DataFrame:
        """The body's nine properties: a row per time and part."""
        if self._body is None:
            t = _table(self._raw.body_table(), 11)
            self._body = _frame(t[:, 2:], _corvane.BODY_COLUMNS, {TIME: t[:, 0], PART: _parts(t[:, 1])})
        return self._body

    @property
    def comfort(self) -> pd.DataFrame:
        """The three comfort ratings: a row per time and part, by time; the
        files' values, which the comfort chart (and its export) limits to
        0 ... 100."""
        if self._comfort is None:
            tables = [_table(self._raw.comfort_table(p), 5) for p in PARTS]
            if len({len(t) for t in tables}) == 1:
                # Each part's row i beside the others': as a run writes them.
                t = np.stack(tables, axis=1).reshape(-1, 5)
            else:
                t = np.concatenate(tables)
            frame = _frame(t[:, 2:], _corvane.COMFORT_COLUMNS, {TIME: t[:, 0], PART: _parts(t[:, 1])})
            time, part = t[:, 0], t[:, 1]
            if not np.all((time[1:] > time[:-1]) | ((time[1:] == time[:-1]) & (part[1:] > part[:-1]))):
                frame = frame.sort_values([TIME, PART], kind="stable", ignore_index=True)
            self._comfort = frame
        return self._comfort

    @property
    def environment(self) -> pd.DataFrame:
        """The environment's phases from configure.dat, with each one's start."""
        if self._environment is None:
            t = _table(self._raw.environment_table(), 13)
            duration = t[:, 10]
            start = np.concatenate(([0.0], np.cumsum(duration)[:-1])) if len(t) else duration
            frame = {
                "Phase": np.arange(len(t)),
                "Start(min)": start,
                "Duration(min)": duration,
                "Column 1": t[:, 0],
                "Temperature(Degree)": t[:, 1],
                "Relative Humidity(%)": t[:, 2],
                "Column 4": t[:, 3],
            }
            for i, part in enumerate(PARTS):
                frame[f"Clothed {part}"] = t[:, 4 + i]
            frame["Column 12"] = t[:, 11]
            frame["Column 13"] = t[:, 12]
            self._environment = pd.DataFrame(frame)
        return self._environment

    def _fabric_table(self, name: str):
        # A part's values (time, position, six quantities a row) and layers.
        if name not in self._fabric_tables:
            t, layers = self._raw.fabric_table(name)
            t = _table(t, 8)
            if not self._raw.fabric_shape(name)["liquid_fraction"]:
                # A file without the ninth column holds no liquid volume fraction.
                t[:, 7] = np.nan
            self._fabric_tables[name] = (t, layers)
        return self._fabric_tables[name]

    def fabric(self, part: Union[str, int]) -> pd.DataFrame:
        """A part's fabric: time, layer (as the file numbers it), node (from 0,
        the skin outwards), position and the six quantities, a row per node
        and time; empty for a part without fabric."""
        name = _part_name(part)
        if name not in self._fabrics:
            t, layers = self._fabric_table(name)
            nodes = max(self._raw.fabric_shape(name)["nodes"], 1)
            # One block of doubles over the array itself; the whole numbers
            # beside it as 32-bit columns.
            frame = pd.DataFrame(t, columns=[TIME, POSITION, *_corvane.FABRIC_COLUMNS], copy=False)
            frame.insert(1, "Layer", layers)
            frame.insert(2, "Node", np.tile(np.arange(nodes, dtype=np.int32), -(-len(t) // nodes))[: len(t)])
            self._fabrics[name] = frame
        return self._fabrics[name]

    def fabric_array(self, part: Union[str, int], quantity: Union[str, int]) -> np.ndarray:
        """One fabric quantity of a part as an array of time x layer x node,
        NaN where the run holds no value (a hole, a step cut short)."""
        name = _part_name(part)
        q = _quantity(quantity, _corvane.FABRIC_COLUMNS, "fabric")
        t, _ = self._fabric_table(name)
        shape = self._raw.fabric_shape(name)
        layers, nodes = shape["layers"], shape["nodes"]
        if len(t) == 0 or layers == 0 or nodes == 0:
            return np.empty((0, layers, nodes))
        per_step = layers * nodes
        steps = -(-len(t) // per_step)
        values = np.full(steps * per_step, np.nan)
        values[: len(t)] = t[:, 2 + q]
        return values.reshape(steps, layers, nodes)

    @property
    def fibres(self) -> Dict[str, pd.DataFrame]:
        """Each fibre file's rows, by the file's name."""
        if self._fibres is None:
            self._fibres = {}
            for name, raw in self._raw.fibre_tables():
                t = _table(raw, 4)
                self._fibres[name] = _frame(t[:, 2:], _corvane.FIBRE_COLUMNS, {TIME: t[:, 0], POSITION: t[:, 1]})
        return self._fibres

    def profile(self, part: Union[str, int], quantity: Union[str, int], minute: float) -> pd.DataFrame:
        """A fabric quantity through all the part's layers at the fabric step
        nearest ``minute``, as ``corvane --export-csv --profile-at`` writes it:
        "Position(cm)", "Layer" (from 1) and the quantity's column. The
        step's own time is in ``frame.attrs["time"]``."""
        q = _quantity(quantity, _corvane.FABRIC_COLUMNS, "fabric")
        name = _part_name(part)
        time, rows = self._raw.profile(name, q, float(minute), self._fabric_table(name)[0])
        frame = pd.DataFrame(rows, columns=[POSITION, "Layer", _corvane.FABRIC_COLUMNS[q]])
        frame = frame.astype({POSITION: np.float64, "Layer": np.int64, _corvane.FABRIC_COLUMNS[q]: np.float64})
        frame.attrs["time"] = time
        return frame


def load(path: Union[str, os.PathLike]) -> Run:
    """Reads the run in folder ``path``. Raises LoadError, with the viewer's
    message, where the viewer refuses the run. The GIL is released while the
    files are read."""
    return Run(_corvane._load(os.fspath(path)))


def _label(paths: List[str]) -> List[str]:
    names = [os.path.basename(os.path.normpath(p)) for p in paths]
    return [os.path.normpath(p) if names.count(n) > 1 else n for p, n in zip(paths, names)]


def study(paths: Iterable[Union[str, os.PathLike]]) -> pd.DataFrame:
    """The figures ``corvane --study`` tabulates, a row per run, with its
    columns; the runs named by their folders (by the folder as given where
    two share a name)."""
    paths = [os.fspath(p) for p in paths]
    rows = []
    for path, label in zip(paths, _label(paths)):
        try:
            raw = _corvane._load(path, whole=False)
        except LoadError as error:
            raise LoadError(f'the run in "{path}" could not be loaded: {error}') from None
        rows.append(_corvane._study_row(raw, label))
    header = _corvane._study_header()
    frame = pd.DataFrame(rows, columns=header)
    # Python's float() reads each number back to the very double written
    # (pandas' own parsers need not).
    for column in header[1:]:
        frame[column] = np.array([float(v) if v else np.nan for v in frame[column]], dtype=np.float64)
    return frame
