"""The module's tables against the files, read by pandas with its correctly
rounded parser: equal, value for value, on every shape printf writes."""

import io
import os
import threading

import numpy as np
import pandas as pd
import pytest

import corvane
from corvane import _corvane

SHAPES = ["%f", "%e", "%g", "%.9g"]


def read(path, skip=0):
    frame = pd.read_csv(path, sep="\t", header=None, skiprows=skip, float_precision="round_trip")
    return frame.dropna(axis=1, how="all").to_numpy(dtype=np.float64)


def check_run(run, folder):
    body = read(os.path.join(folder, "bodyProperty.dat"))
    assert list(run.body.columns) == ["Time(min)", "Part", *_corvane.BODY_COLUMNS]
    np.testing.assert_array_equal(run.body["Time(min)"].to_numpy(), body[:, 0])
    np.testing.assert_array_equal(run.body["Part"].cat.codes.to_numpy(), body[:, 1])
    np.testing.assert_array_equal(run.body.iloc[:, 2:].to_numpy(), body[:, 2:])
    assert list(run.body["Part"].cat.categories) == ["Head", "Trunk", "Arm", "Hand", "Leg", "Foot"]

    comfort = read(os.path.join(folder, "BodyDataforComfort.dat"))
    np.testing.assert_array_equal(run.comfort.iloc[:, 2:].to_numpy(), comfort[:, 2:])
    np.testing.assert_array_equal(run.comfort["Time(min)"].to_numpy(), comfort[:, 0])
    np.testing.assert_array_equal(run.comfort["Part"].cat.codes.to_numpy(), comfort[:, 1])

    env = read(os.path.join(folder, "configure.dat"), skip=1)
    np.testing.assert_array_equal(run.environment["Temperature(Degree)"].to_numpy(), env[:, 1])
    np.testing.assert_array_equal(run.environment["Duration(min)"].to_numpy(), env[:, 10])
    assert run.environment["Start(min)"].iloc[0] == 0.0

    for part in corvane.PARTS:
        path = os.path.join(folder, f"fabrics{part}.dat")
        frame = run.fabric(part)
        if not os.path.exists(path):
            assert frame.empty
            continue
        fabric = read(path)
        np.testing.assert_array_equal(frame["Time(min)"].to_numpy(), fabric[:, 0])
        np.testing.assert_array_equal(frame["Position(cm)"].to_numpy(), fabric[:, 1])
        np.testing.assert_array_equal(frame["Layer"].to_numpy(), fabric[:, 2])
        held = fabric.shape[1] - 3
        np.testing.assert_array_equal(frame.iloc[:, 4 : 4 + held].to_numpy(), fabric[:, 3:])

    for name, frame in run.fibres.items():
        fibre = read(os.path.join(folder, name))
        np.testing.assert_array_equal(frame.to_numpy(), fibre)


@pytest.mark.parametrize("shape", SHAPES)
def test_every_value_is_the_decimal_its_file_wrote(make_run, shape):
    folder = make_run(shape=shape, ninth=shape == "%e")
    run = corvane.load(folder)
    assert run._raw._fabric_by_columns, "well-written fabric files go straight into their columns"
    check_run(run, folder)
    # The files hold values no float holds: the test would see a float store.
    body = run.body.iloc[:, 2:].to_numpy().ravel()
    if shape != "%e":
        assert np.any(body.astype(np.float32).astype(np.float64) != body)
    assert run.messages == []


def test_the_sample_runs_values_are_its_files(sample_run):
    run = corvane.load(sample_run)
    check_run(run, sample_run)
    assert set(run.fibres) == {"FiberLeg_Polyester.dat", "FiberTrunk_Cotton.dat"}


def test_holes_are_nan_and_the_rows_the_files_hold_are_theirs(make_run):
    folder = make_run(samples=6)
    path = os.path.join(folder, "bodyProperty.dat")
    with open(path) as f:
        lines = f.readlines()
    del lines[2 * 6 + 2]  # the Arm of the third sample
    lines.insert(20, "not a number\n")
    with open(path, "w") as f:
        f.writelines(lines)
    trunk = os.path.join(folder, "fabricsTrunk.dat")
    with open(trunk) as f:
        fabric = f.readlines()
    del fabric[12 + 5]  # a node of the second step
    with open(trunk, "w") as f:
        f.writelines(fabric)

    run = corvane.load(folder)
    assert not run._raw._fabric_by_columns, "a run with a hole is the loader's"
    said = "\n".join(m.text for m in run.messages)
    assert "bodyProperty.dat" in said and "line" in said
    assert "fabricsTrunk.dat" in said
    assert all(m.level in ("warning", "error", "information") for m in run.messages)

    body = run.body
    assert len(body) == 6 * 6, "a row per time and part"
    times = body["Time(min)"].unique()
    hole = body[(body["Part"] == "Arm") & (body["Time(min)"] == times[2])]
    assert len(hole) == 1 and hole.iloc[:, 2:].isna().all(axis=None)
    numbers = "".join(line for line in lines if line[0].isdigit())
    held = pd.read_csv(io.StringIO(numbers), sep="\t", header=None, float_precision="round_trip")
    held = held.dropna(axis=1, how="all")
    merged = body.assign(code=body["Part"].cat.codes).merge(held, left_on=["Time(min)", "code"], right_on=[0, 1])
    assert len(merged) == 6 * 6 - 1
    np.testing.assert_array_equal(merged[_corvane.BODY_COLUMNS].to_numpy(), merged[list(range(2, 11))].to_numpy())

    cube = run.fabric_array("Trunk", "Temperature(Degree)")
    assert cube.shape == (6, 3, 4)
    assert np.isnan(cube[1, 1, 1]) and np.isnan(cube).sum() == 1
    rows = read(trunk)
    assert cube[0, 2, 3] == rows[11, 7]
    np.testing.assert_array_equal(run.fabric_array(1, 4), cube)


@pytest.mark.parametrize(
    "remove, message",
    [
        ("bodyProperty.dat", "No data or incorrect format in body property data file!"),
        ("configure.dat", "No data or incorrect format in environment data file!"),
        ("BodyDataforComfort.dat", "No data or incorrect format in BodyDataforComfort data file!"),
    ],
)
def test_a_run_the_viewer_refuses_raises_its_message(make_run, remove, message):
    folder = make_run()
    os.remove(os.path.join(folder, remove))
    with pytest.raises(corvane.LoadError) as raised:
        corvane.load(folder)
    assert str(raised.value) == message


def test_wrong_names_are_refused_in_words(make_run, tmp_path):
    with pytest.raises(corvane.LoadError, match="is no folder"):
        corvane.load(tmp_path / "nowhere")
    run = corvane.load(make_run())
    with pytest.raises(ValueError, match="no body part \"Neck\""):
        run.fabric("Neck")
    with pytest.raises(ValueError, match="no fabric quantity 'Pressure'"):
        run.fabric_array("Trunk", "Pressure")
    with pytest.raises(ValueError, match="no body part 6"):
        run.fabric_array(6, 0)
    assert run.fabric("Head").empty and run.fabric_array("Head", 0).shape == (0, 0, 0)


def test_python_runs_on_another_thread_while_a_load_reads(make_run):
    # The load waits at a gate that only Python code on this thread opens:
    # had the load kept the GIL, this thread could not run until the gate
    # gave up on it (a minute), and the load would say it was not let through.
    folder = make_run()
    loaded = []
    loader = threading.Thread(target=lambda: loaded.append(_corvane._load(folder, True, True)))
    loader.start()
    assert _corvane._await_gated_load()
    opened_by = threading.current_thread().name
    _corvane._open_gate()
    loader.join()
    assert opened_by and len(loaded) == 1
    assert _corvane._gate_opened_during_last_load() is True
