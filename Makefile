# The two commands of the README.  BUILD may name another build folder.
BUILD ?= build

.PHONY: run test build
run:
	scripts/run.sh $(BUILD)
test:
	scripts/test.sh $(BUILD)
build:
	scripts/setup.sh $(BUILD) && cmake --build $(BUILD) -j$$(nproc)
