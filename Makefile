# Set-up, build and test entry points.  Every target creates the virtual
# environment and installs the pinned dependencies when they are missing.

PYTHON ?= python3
VENV := .venv
VPY := $(VENV)/bin/python
DEPS := $(VENV)/.deps-installed
BUILD := build
ASAN_BUILD := build-asan

export PATH := $(abspath $(VENV))/bin:$(PATH)

# The sanitizer runtimes preloaded into the uninstrumented interpreter; their
# reports go to files, since pytest captures the test's own output.  Python
# allocates with malloc, so the sanitizer sees every block; the first report
# halts the run.
SANITIZER_ENV = LD_PRELOAD="$$(gcc -print-file-name=libasan.so) $$(gcc -print-file-name=libubsan.so) $$(gcc -print-file-name=libstdc++.so)" \
	PYTHONMALLOC=malloc \
	ASAN_OPTIONS=detect_leaks=0:halt_on_error=1:log_path=$(abspath $(ASAN_BUILD))/sanitizer \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$(abspath $(ASAN_BUILD))/sanitizer

CMAKE_CONFIGURE = cmake -S . -G Ninja -DPython_EXECUTABLE=$(abspath $(VPY))

.PHONY: all build test typecheck docs demo sanitize fuzz fuzz-sanitize bench bench-baseline bench-layer soak valgrind clean format

all: build

$(VPY):
	$(PYTHON) -m venv $(VENV)

$(DEPS): requirements-dev.txt | $(VPY)
	$(VPY) -m pip install --disable-pip-version-check -q -r requirements-dev.txt
	touch $@

# The simulated host reads its topology with nlohmann-json from Debian, pinned;
# installed when its header is missing (as root, or through sudo).
JSON_HEADER := /usr/include/nlohmann/json.hpp
JSON_PACKAGE := nlohmann-json3-dev=3.11.2-2
SUDO := $(if $(filter 0,$(shell id -u)),,sudo)

$(JSON_HEADER):
	$(SUDO) apt-get update -q
	$(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $(JSON_PACKAGE)

build: $(DEPS) $(JSON_HEADER)
	$(CMAKE_CONFIGURE) -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure
	TESSEL_BUILD_DIR=$(BUILD) $(VPY) -m pytest -q tests
	$(MAKE) --no-print-directory typecheck

# mypy (pinned) over the Python layer and the README's ```python examples,
# with the module's stubs from the build tree; then mypy's stubtest, which
# holds the stubs against the built module (every name both ways, the
# constants' types).
EXAMPLES := $(BUILD)/readme_examples
typecheck: build
	rm -rf $(EXAMPLES)
	$(VPY) module/readme_examples.py README.md $(EXAMPLES)
	MYPYPATH=$(abspath $(BUILD))/python $(VPY) -m mypy --cache-dir $(BUILD)/mypy_cache python/libtessel $$(ls $(EXAMPLES)/*.py 2>/dev/null)
	$(SIM_PY_STUBS) -m mypy.stubtest --mypy-config-file pyproject.toml _libtessel

# The API reference, from the docstrings, with pydoc of the pinned
# interpreter: one page per public module of the layer, and the raw
# module's with the signatures of its stubs (module/apidocs.py).
DOCS := $(BUILD)/docs
docs: build
	rm -rf $(DOCS)
	TESSEL_HOST=simulated PYTHONPATH=$(BUILD)/python $(VPY) module/apidocs.py $(DOCS) $(BUILD)/python/_libtessel.pyi \
	  _libtessel libtessel $$(cd python/libtessel && ls *.py | sed -e 's/\.py$$//' -e '/^_/d' -e 's/^/libtessel./')
	@echo "docs: $(DOCS)/libtessel.html"

# The build tree's Python layer, talking to the simulated host.
SIM_PY = TESSEL_HOST=simulated PYTHONPATH=$(BUILD)/python $(VPY)
SIM_PY_STUBS = MYPYPATH=$(abspath $(BUILD))/python $(SIM_PY)

demo: build
	$(SIM_PY) -m libtessel --version
	$(SIM_PY) -m libtessel switches
	$(SIM_PY) -m libtessel aliases
	$(SIM_PY) -m libtessel show dvs-prod
	$(SIM_PY) -m libtessel ports dvs-prod
	$(SIM_PY) -m libtessel counters switch0 --port web-01.eth0
	$(SIM_PY) -m libtessel macs switch0 --port web-01.eth0
	$(SIM_PY) -m libtessel learning switch0
	$(SIM_PY) -m libtessel uplinks switch0
	$(SIM_PY) -m libtessel teaming switch0
	$(SIM_PY) -m libtessel vlan dvs-prod --port prod-app-01.eth0
	$(SIM_PY) -m libtessel teps dvs-prod
	$(SIM_PY) -m libtessel rdma dvs-prod
	$(SIM_PY) -m libtessel mcast switch0 --port web-01.eth0
	$(SIM_PY) -m libtessel options
# One process: the simulated host's changes last as long as it does.
	$(SIM_PY) -c "import libtessel.cli as cli; \
	  cli.main(['mirror', 'add', 'dvs-prod', 'span-web', '--destination', '67108875', '--source', 'uplink4', '--snap-len', '128']); \
	  cli.main(['mirror', 'dvs-prod'])"
	$(SIM_PY) -c "import _libtessel as m, libtessel.cli as cli; \
	  cli.main(['props', 'set', 'dvs-prod', m.HYX_ZARPROP_SWITCH_RESPOOLS_SCHED, 'weighted']); \
	  cli.main(['props', 'set', 'dvs-prod', m.VSPROP_MTU, '401f0000', '--hex']); \
	  cli.main(['show', 'dvs-prod']); cli.main(['props', 'dvs-prod'])"

# The module and the host libraries built with AddressSanitizer and
# UndefinedBehaviorSanitizer, the whole suite run with the runtime preloaded
# (the interpreter itself is not instrumented).
sanitize: $(DEPS) $(JSON_HEADER)
	$(CMAKE_CONFIGURE) -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTESSEL_SANITIZE=address,undefined
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && ctest --output-on-failure
	rm -f $(ASAN_BUILD)/sanitizer.*
	$(SANITIZER_ENV) \
	TESSEL_BUILD_DIR=$(ASAN_BUILD) $(VPY) -m pytest -q -p no:cacheprovider tests \
	  || { cat $(ASAN_BUILD)/sanitizer.* 2>/dev/null; exit 1; }

# The benchmarks (bench/): the wrappers against hand-written functions doing
# the same conversions (bench/overhead_baseline.c, built here), the host
# tables against a memcpy of their bytes and the layer's walks against the
# raw module's, and memory; then bench/check.py fails on a missed target or
# on a figure more than 20% above the one committed in bench/baseline.json.
# BENCH_UPDATE=1 records the run as the new baseline instead.
# bench-layer is the part that measures the Python layer, checked the same
# way: start-up (import and the tool against `python -c pass`) and the
# layer's walks over the host tables against the raw module's.
BENCH_BUILD := $(BUILD)/bench
BENCH_OUT := $(BENCH_BUILD)/results
BENCH_PY = TESSEL_HOST=simulated TESSEL_BENCH_OUT=$(BENCH_OUT) PYTHONPATH=$(BUILD)/python:$(BENCH_BUILD) $(VPY)
BENCH_CHECK = $(VPY) bench/check.py $(if $(BENCH_UPDATE),--update) $(BENCH_OUT)
bench-baseline: build
	mkdir -p $(BENCH_BUILD)
	$(CC) -O2 -g -shared -fPIC -funsigned-char -Wall -Wextra -Werror -I. \
	  -I"$$($(VPY) -c 'import sysconfig; print(sysconfig.get_paths()["include"])')" \
	  bench/overhead_baseline.c -L$(BUILD)/python -ltessel -Wl,-rpath,$(abspath $(BUILD))/python \
	  -o $(BENCH_BUILD)/_tessel_baseline$$($(VPY) -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')

BENCH_MODULE := overhead tables memory
BENCH_LAYER := startup walks
bench: bench-baseline
	rm -f $(foreach part,$(BENCH_MODULE) $(BENCH_LAYER),$(BENCH_OUT)/$(part).json)
	$(BENCH_PY) bench/bench_overhead.py
	$(BENCH_PY) bench/bench_tables.py
	$(BENCH_PY) bench/bench_memory.py
	$(BENCH_PY) bench/bench_startup.py
	$(BENCH_PY) bench/bench_walks.py
	$(BENCH_CHECK) $(BENCH_MODULE) $(BENCH_LAYER)

bench-layer: bench-baseline
	rm -f $(foreach part,$(BENCH_LAYER),$(BENCH_OUT)/$(part).json)
	$(BENCH_PY) bench/bench_startup.py
	$(BENCH_PY) bench/bench_walks.py
	$(BENCH_CHECK) $(BENCH_LAYER)

# The abandoned-call soak: 100,000 calls abandoned through the guard with text
# copies and out-values in flight; resident memory afterwards within 1 MiB of
# before (bench/soak_guard.py prints its figures).
soak: build
	PYTHONPATH=$(BUILD)/python $(VPY) bench/soak_guard.py

# The whole suite under valgrind, with Python allocating through malloc: any
# invalid read, write or free, or block definitely lost (beyond
# tests/valgrind.supp, which says why for each) fails the run.  Uses of
# uninitialised values are not checked: the interpreter's own seeding from
# getrandom() shows up as such throughout.
VALGRIND_LOG := $(BUILD)/valgrind.log
valgrind: build
	PYTHONMALLOC=malloc TESSEL_BUILD_DIR=$(BUILD) valgrind --quiet --error-exitcode=97 --undef-value-errors=no \
	  --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
	  --suppressions=tests/valgrind.supp --log-file=$(VALGRIND_LOG) \
	  $(VPY) -m pytest -q -p no:cacheprovider tests \
	  || { cat $(VALGRIND_LOG); exit 1; }
	@echo "valgrind: no errors (log in $(VALGRIND_LOG))"

format: $(DEPS)
	clang-format -i module/*.c module/*.h extensions/*.c extensions/*.h hostapi/*.h bench/*.c \
	  $$(find host tests -name '*.cpp' -o -name '*.h' -o -name '*.c')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# A long randomized pass over every method, plain and under the sanitizers.
FUZZ_CALLS ?= 200000
fuzz: build
	TESSEL_FUZZ_CALLS=$(FUZZ_CALLS) TESSEL_BUILD_DIR=$(BUILD) $(VPY) -m pytest -q tests/test_fuzz.py

fuzz-sanitize: sanitize
	rm -f $(ASAN_BUILD)/sanitizer.*
	$(SANITIZER_ENV) \
	TESSEL_FUZZ_CALLS=$(FUZZ_CALLS) TESSEL_BUILD_DIR=$(ASAN_BUILD) $(VPY) -m pytest -q -p no:cacheprovider tests/test_fuzz.py \
	  || { cat $(ASAN_BUILD)/sanitizer.* 2>/dev/null; exit 1; }
