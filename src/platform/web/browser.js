// SPDX-License-Identifier: MIT
// The page side of the web platform layer (browser.h): the canvas's size, WebGL on it, the
// keyboard, the touch controls, the gamepads, the page's messages, and the browser's language.
// Linked into the page's script with --js-library.

addToLibrary({
  // The page's messages to the player, by id: the page holds their words.
  $Messages: {
    show(id, detail) {
      const message = document.getElementById(id);
      if (!message) return;
      const slot = message.querySelector('.detail');
      if (slot && detail) slot.textContent = detail;
      message.hidden = false;
    },

    hide(id) {
      const message = document.getElementById(id);
      if (message) message.hidden = true;
    },
  },

  // The WebGL drawing on the canvas.
  $Drawing: {
    gl: null,
    program: null,
    buffer: null,
    bufferBytes: 0,
    // A view of the frame's vertices in the game's memory, kept while they stay where they are:
    // no frame makes a new one once the first is drawn.
    vertices: null,
    // The state the context has, as the words of a TDrawStep's state; null when not known (a new
    // context, or one given back).
    state: null,
    // Whether the canvas shows the picture last drawn (BrowserPictureShown).
    pictureShown: false,

    // The program, the vertex buffer and the state, on a new context or one given back.
    makeResources() {
      const gl = Drawing.gl;
      const shader = (type, source) => {
        const made = gl.createShader(type);
        gl.shaderSource(made, source);
        gl.compileShader(made);
        gl.attachShader(Drawing.program, made);
      };
      Drawing.program = gl.createProgram();
      shader(gl.VERTEX_SHADER,
             'attribute vec4 clip; attribute vec3 colour; varying vec3 shade;' +
             'void main() { gl_Position = clip; shade = colour; }');
      shader(gl.FRAGMENT_SHADER,
             'precision mediump float; varying vec3 shade;' +
             'void main() { gl_FragColor = vec4(shade, 1.0); }');
      gl.bindAttribLocation(Drawing.program, 0, 'clip');
      gl.bindAttribLocation(Drawing.program, 1, 'colour');
      gl.linkProgram(Drawing.program);
      gl.useProgram(Drawing.program);

      Drawing.buffer = gl.createBuffer();
      Drawing.bufferBytes = 0;
      gl.bindBuffer(gl.ARRAY_BUFFER, Drawing.buffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      gl.vertexAttribPointer(0, 4, gl.FLOAT, false, {{{ BROWSER_VERTEX_BYTES }}}, 0);
      gl.vertexAttribPointer(1, 3, gl.FLOAT, false, {{{ BROWSER_VERTEX_BYTES }}}, {{{ BROWSER_VERTEX_COLOUR_BYTE }}});

      Drawing.state = null;
      Drawing.pictureShown = false;
    },

    // Copies words [from, to) of the state at a step (words from at) into the context's state;
    // true when any of them differed.
    took(at, from, to) {
      let differed = false;
      for (let i = from; i < to; i++) {
        if (Drawing.state[i] !== HEAP32[at + i]) {
          Drawing.state[i] = HEAP32[at + i];
          differed = true;
        }
      }
      return differed;
    },

    // Gives the context the state a step is made in, where it differs from what it has.
    applyState(at) {
      const gl = Drawing.gl, unknown = Drawing.state === null;
      const viewport = at + {{{ BROWSER_STEP_VIEWPORT }}}, clearColour = at + {{{ BROWSER_STEP_CLEAR_COLOUR }}};
      const depthTest = {{{ BROWSER_STEP_DEPTH_TEST }}}, depthFunc = {{{ BROWSER_STEP_DEPTH_FUNC }}};
      if (unknown) Drawing.state = new Int32Array({{{ BROWSER_STEP_CLEAR }}});
      if (Drawing.took(at, {{{ BROWSER_STEP_VIEWPORT }}}, {{{ BROWSER_STEP_VIEWPORT }}} + 4) || unknown) {
        gl.viewport(HEAP32[viewport], HEAP32[viewport + 1], HEAP32[viewport + 2], HEAP32[viewport + 3]);
      }
      if (Drawing.took(at, {{{ BROWSER_STEP_CLEAR_COLOUR }}}, {{{ BROWSER_STEP_CLEAR_COLOUR }}} + 4) || unknown) {
        gl.clearColor(HEAPF32[clearColour], HEAPF32[clearColour + 1], HEAPF32[clearColour + 2], HEAPF32[clearColour + 3]);
      }
      if (Drawing.took(at, depthTest, depthTest + 1) || unknown) gl[HEAP32[at + depthTest] ? 'enable' : 'disable'](gl.DEPTH_TEST);
      if (Drawing.took(at, depthFunc, depthFunc + 1) || unknown) gl.depthFunc(HEAP32[at + depthFunc]);
    },

    forgetPicture() {
      Drawing.pictureShown = false;
    },
  },

  // Each finger that landed on a touch control or on the picture, and the control it is over now:
  // a control is held while at least one finger is over it. A finger's touch events all go to the
  // element it landed on, so the control under it is looked up where it is.
  $Controls: {
    control: 0,    // the game's call, control(key, held)
    fingers: null, // Touch.identifier -> the control under that finger, or null
    held: null,    // the controls held now
    surfaces: [],

    controlAt(touch) {
      const under = document.elementFromPoint(touch.clientX, touch.clientY);
      return under && under.closest('[data-key]');
    },

    press(control, held) {
      control.classList.toggle('held', held);
      const stack = stackSave();
      {{{ makeDynCall('vpi', 'Controls.control') }}}(stringToUTF8OnStack(control.dataset.key), held ? 1 : 0);
      stackRestore(stack);
    },

    // Presses the controls a finger came onto and lets go of those no finger is over any more.
    update() {
      const now = new Set(Controls.fingers.values());
      now.delete(null);
      for (const control of Controls.held) {
        if (!now.has(control)) Controls.press(control, false);
      }
      for (const control of now) {
        if (!Controls.held.has(control)) Controls.press(control, true);
      }
      Controls.held = now;
    },

    // Touches there are the game's: the browser neither scrolls, zooms nor selects for them, nor
    // makes mouse events of them. It sends some touches as ones the page may not cancel (while
    // another finger scrolls the page, for one): those are the game's all the same.
    onTouch(event) {
      if (event.cancelable) event.preventDefault();
      for (const touch of event.changedTouches) {
        if (event.type === 'touchend') {
          Controls.fingers.delete(touch.identifier);
        } else if (event.type === 'touchstart' || Controls.fingers.has(touch.identifier)) {
          Controls.fingers.set(touch.identifier, Controls.controlAt(touch));
        }
      }
      Controls.update();
    },

    // A cancelled touch (a call, a gesture of the system's) or a page that is left: every control
    // lets go, and stays so until a finger lands again.
    letGoOfAll() {
      Controls.fingers.clear();
      Controls.update();
    },

    onVisibilityChange() {
      if (document.hidden) Controls.letGoOfAll();
    },

    // No menu on a long press on them.
    onContextMenu(event) {
      if (Controls.fingers.size > 0 && event.cancelable) event.preventDefault();
    },

    listen(on) {
      const method = on ? 'addEventListener' : 'removeEventListener';
      for (const surface of Controls.surfaces) {
        for (const type of ['touchstart', 'touchmove', 'touchend']) {
          surface[method](type, Controls.onTouch, { passive: false });
        }
        surface[method]('touchcancel', Controls.letGoOfAll);
        surface[method]('contextmenu', Controls.onContextMenu);
      }
      window[method]('pointercancel', Controls.letGoOfAll);
      window[method]('blur', Controls.letGoOfAll);
      document[method]('visibilitychange', Controls.onVisibilityChange);
    },
  },

  BrowserListenToControls__deps: ['$Controls', '$stackSave', '$stackRestore', '$stringToUTF8OnStack'],
  BrowserListenToControls: (control) => {
    if (Controls.control) {
      Controls.listen(false);
      for (const held of Controls.held) held.classList.remove('held');
    }
    Controls.control = control;
    Controls.fingers = new Map();
    Controls.held = new Set();
    if (control) {
      Controls.surfaces = [document.getElementById('canvas'), ...document.querySelectorAll('[data-key]')];
      Controls.listen(true);
    }
  },

  // The keyboard: each key going down or up goes to the game's call, which says whether the key
  // is the game's. The game's keys are kept from the browser (no scrolling, no find-as-you-type)
  // where the browser lets the page keep them.
  $Keys: {
    key: 0, // the game's call, key(value, code, down, shortcut)

    onKey(event) {
      const stack = stackSave();
      const game = {{{ makeDynCall('ippii', 'Keys.key') }}}(
          stringToUTF8OnStack(event.key || ''), stringToUTF8OnStack(event.code || ''), event.type === 'keydown',
          event.ctrlKey || event.altKey || event.metaKey);
      stackRestore(stack);
      if (game && event.cancelable) event.preventDefault();
    },
  },

  BrowserListenToKeys__deps: ['$Keys', '$stackSave', '$stackRestore', '$stringToUTF8OnStack'],
  BrowserListenToKeys: (key) => {
    for (const type of ['keydown', 'keyup']) {
      removeEventListener(type, Keys.onKey);
      if (key) addEventListener(type, Keys.onKey);
    }
    Keys.key = key;
  },

  // The gamepads. The browser shows a page its pads only once one of their buttons is pressed, and
  // says so with gamepadconnected: until then there is nothing to read.
  $Pads: {
    connected: false,
    onConnected() {
      Pads.connected = true;
    },
  },

  BrowserListenToPads__deps: ['$Pads'],
  BrowserListenToPads: (listen) => {
    window[listen ? 'addEventListener' : 'removeEventListener']('gamepadconnected', Pads.onConnected);
  },

  BrowserReadPads__deps: ['$Pads'],
  BrowserReadPads: (values, slots, buttons, axes) => {
    if (!Pads.connected || document.hidden) return 0;
    const number = (value) => (typeof value === 'number' ? value : NaN);
    const stride = 2 + buttons + axes;
    try {
      const pads = navigator.getGamepads();
      const count = Math.min(pads.length, slots) || 0;
      HEAPF32.fill(NaN, values >> 2, (values >> 2) + count * stride);
      for (let slot = 0; slot < count; slot++) {
        const pad = pads[slot], at = (values >> 2) + slot * stride;
        HEAPF32[at] = pad && pad.connected === true ? 1 : 0;
        if (!HEAPF32[at]) continue;
        HEAPF32[at + 1] = pad.mapping === 'standard' ? 1 : 0;
        const padButtons = pad.buttons || [], padAxes = pad.axes || [];
        for (let i = 0; i < buttons && i < padButtons.length; i++) {
          HEAPF32[at + 2 + i] = number(padButtons[i] && padButtons[i].value);
        }
        for (let i = 0; i < axes && i < padAxes.length; i++) HEAPF32[at + 2 + buttons + i] = number(padAxes[i]);
      }
      return count;
    } catch (unreadable) {
      return 0; // a list the browser could not give, or one that is not a list of pads: no pads
    }
  },

  // The canvas's size in the page, in CSS pixels: read as the window opens, then told by the
  // browser whenever the page lays it out anew, so that no frame has to ask for it.
  $CanvasBox: { width: 0, height: 0 },

  BrowserFitCanvas__deps: ['$CanvasBox'],
  BrowserFitCanvas: (width, height) => {
    const style = document.documentElement.style;
    style.setProperty('--window-width', width);
    style.setProperty('--window-height', height);
    const canvas = document.getElementById('canvas');
    const keep = (box) => {
      CanvasBox.width = box.width;
      CanvasBox.height = box.height;
    };
    keep(canvas.getBoundingClientRect());
    new ResizeObserver((entries) => keep(entries[entries.length - 1].contentRect)).observe(canvas);
  },

  BrowserCanvasSize__deps: ['$CanvasBox'],
  BrowserCanvasSize: (width, height) => {
    HEAPF64[width >> 3] = CanvasBox.width;
    HEAPF64[height >> 3] = CanvasBox.height;
  },

  BrowserOpenWebGL__deps: ['$Drawing', '$Messages'],
  BrowserOpenWebGL: (minDepthBits) => {
    const canvas = document.getElementById('canvas');
    const gl = canvas && canvas.getContext('webgl', {
      alpha: false, depth: true, stencil: false, antialias: false, premultipliedAlpha: false,
    });
    if (!gl) return 1;
    if (gl.getParameter(gl.DEPTH_BITS) < minDepthBits) return 2;
    Drawing.gl = gl;
    canvas.addEventListener('webglcontextlost', (event) => {
      if (event.cancelable) event.preventDefault(); // or the browser would never give it back
      Drawing.forgetPicture();
      Messages.show('context-lost');
    });
    canvas.addEventListener('webglcontextrestored', () => {
      Drawing.makeResources(); // on a blank drawing buffer
      Messages.hide('context-lost');
    });
    // A page shown again may have had its picture dropped while it was hidden.
    document.addEventListener('visibilitychange', () => document.hidden || Drawing.forgetPicture());
    addEventListener('pageshow', Drawing.forgetPicture);
    Drawing.makeResources();
    return 0;
  },

  BrowserSizeDrawingBuffer__deps: ['$Drawing'],
  BrowserSizeDrawingBuffer: (width, height) => {
    const canvas = document.getElementById('canvas');
    canvas.width = width;
    canvas.height = height;
    Drawing.forgetPicture();
  },

  BrowserPictureShown__deps: ['$Drawing'],
  BrowserPictureShown: () => Drawing.pictureShown,

  BrowserDrawFrame__deps: ['$Drawing'],
  BrowserDrawFrame: (steps, stepCount, vertices, vertexCount, changed) => {
    const gl = Drawing.gl;
    if (gl.isContextLost()) return false;
    const bytes = vertexCount * {{{ BROWSER_VERTEX_BYTES }}};
    if (!Drawing.vertices || Drawing.vertices.byteOffset !== vertices || Drawing.vertices.byteLength !== bytes) {
      Drawing.vertices = HEAPU8.subarray(vertices, vertices + bytes);
    }
    if (bytes > Drawing.bufferBytes) {
      gl.bufferData(gl.ARRAY_BUFFER, bytes, gl.DYNAMIC_DRAW);
      Drawing.bufferBytes = bytes;
      changed = true; // a new buffer, or one made again with the context
    }
    if (changed && bytes > 0) gl.bufferSubData(gl.ARRAY_BUFFER, 0, Drawing.vertices);
    for (let at = steps >> 2, end = at + stepCount * {{{ BROWSER_STEP_WORDS }}}; at < end; at += {{{ BROWSER_STEP_WORDS }}}) {
      Drawing.applyState(at);
      if (HEAPU32[at + {{{ BROWSER_STEP_CLEAR }}}]) {
        gl.clear(HEAPU32[at + {{{ BROWSER_STEP_CLEAR }}}]);
      } else {
        gl.drawArrays(HEAP32[at + {{{ BROWSER_STEP_MODE }}}], HEAP32[at + {{{ BROWSER_STEP_FIRST }}}],
                      HEAP32[at + {{{ BROWSER_STEP_COUNT }}}]);
      }
    }
    Drawing.pictureShown = true;
    return true;
  },

  // The document's title. (Emscripten's own call brings its whole browser library into the page.)
  BrowserSetTitle__deps: ['$UTF8ToString'],
  BrowserSetTitle: (title) => {
    document.title = UTF8ToString(title);
  },

  BrowserShowMessage__deps: ['$Messages', '$UTF8ToString'],
  BrowserShowMessage: (id, detail) => Messages.show(UTF8ToString(id), UTF8ToString(detail)),

  BrowserDecimalSeparator__deps: ['$UTF8ToString', '$stringToUTF8'],
  BrowserDecimalSeparator: (language, separator, size) => {
    let decimal = '.';
    try {
      const parts = new Intl.NumberFormat(UTF8ToString(language) || navigator.language).formatToParts(1.5);
      const part = parts.find((candidate) => candidate.type === 'decimal');
      if (part && part.value) decimal = part.value;
    } catch (refused) {
      // A tag Intl refuses, such as "C" from WebKitGTK under the C locale: keep the point.
    }
    stringToUTF8(decimal, separator, size);
  },
});
