"""Run folders for the module's tests, written the way a simulation writes
them: printf's shapes, tab-separated, a trailing tab where the files have one."""

import os
import random

import pytest

PARTS = ["Head", "Trunk", "Arm", "Hand", "Leg", "Foot"]


def _value(rng, shape):
    # Magnitudes a run holds: temperatures, rates of 1e-7, pressures of 1e3.
    v = rng.choice([rng.uniform(20, 40), rng.uniform(-1e-6, 1e-6), rng.uniform(0, 5000), rng.uniform(0, 1)])
    return shape % v


def write_run(folder, shape="%f", samples=5, interval=0.1, start=2.0, clothed=("Trunk", "Leg"), layers=3,
              nodes=4, seed=1, ninth=False):
    """A whole run in `folder`; returns the folder. Times start at `start`
    minutes, `interval` apart, as "%f" writes them (a simulation's clock)."""
    rng = random.Random(seed)
    os.makedirs(folder, exist_ok=True)
    clothing = ["1" if p in clothed else "0" for p in PARTS]
    with open(os.path.join(folder, "configure.dat"), "w") as f:
        f.write("Selected model:2\n")
        f.write("\t".join(["1", shape % 25.5, shape % 0.45, "0.1"] + clothing + [shape % 10.25, "58", "25"]) + "\n")
        f.write("\t".join(["2", shape % 31.25, shape % 0.7, "0.1"] + clothing + [shape % 20.5, "58", "25"]) + "\n")
    times = [start + k * interval for k in range(samples)]
    with open(os.path.join(folder, "bodyProperty.dat"), "w") as f:
        for t in times:
            for p in range(6):
                f.write("\t".join([shape % t, "%d" % p] + [_value(rng, shape) for _ in range(9)]) + "\t\n")
    with open(os.path.join(folder, "BodyDataforComfort.dat"), "w") as f:
        for t in times:
            for p in range(6):
                f.write("\t".join([shape % t, "%d" % p] + [shape % rng.uniform(-5, 105) for _ in range(3)]) + "\t\n")
    for part in clothed:
        with open(os.path.join(folder, f"fabrics{part}.dat"), "w") as f:
            for t in times:
                for layer in range(1, layers + 1):
                    for n in range(nodes):
                        position = (layer - 1) * 0.05 + n * 0.0125
                        values = [_value(rng, shape) for _ in range(6 if ninth else 5)]
                        f.write("\t".join([shape % t, shape % position, "%d" % layer] + values) + "\t\n")
    with open(os.path.join(folder, "FiberTrunk_Cotton.dat"), "w") as f:
        for t in times:
            for n in range(3):
                f.write("\t".join([shape % t, shape % (n * 0.001), _value(rng, shape), _value(rng, shape)]) + "\n")
    with open(os.path.join(folder, "id.dat"), "w") as f:
        f.write("model id:M1\nthe garment list:1\ngarment id:G1\n")
    return str(folder)


@pytest.fixture
def make_run(tmp_path):
    count = [0]

    def make(**kwargs):
        count[0] += 1
        return write_run(tmp_path / f"run{count[0]}", **kwargs)

    return make


@pytest.fixture(scope="session")
def corvane_bin():
    path = os.environ.get("CORVANE_BIN")
    if not path:
        pytest.skip("CORVANE_BIN names no corvane to compare with")
    return path


@pytest.fixture(scope="session")
def sample_run():
    path = os.environ.get("CORVANE_SAMPLE_RUN")
    if not path:
        pytest.skip("CORVANE_SAMPLE_RUN names no sample run")
    return path
