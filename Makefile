# The two commands of the README.  BUILD may name another build folder; TARGET (32 or 64)
# chooses the program that "make run" runs.
BUILD ?= build
TARGET ?=

.PHONY: run test build
run:
	TARGET=$(TARGET) scripts/run.sh $(BUILD)
test:
	scripts/test.sh $(BUILD)
build:
	scripts/setup.sh $(BUILD) && for t in $$(cat $(BUILD)/targets $(BUILD)/build-only-targets); do \
	  cmake --build $(BUILD)/win$$t -j$$(nproc) || exit 1; done
