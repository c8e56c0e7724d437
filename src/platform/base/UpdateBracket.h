// Runs work inside a list's BeginUpdate/EndUpdate bracket, closing the bracket also when
// the work raises, so that an exception never leaves a list stuck in its updating state.
#pragma once

template <typename TList, typename TBody>
void WithinUpdate(TList& list, TBody&& body) {
  list.BeginUpdate();
  try {
    body();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}
