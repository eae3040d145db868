// SPDX-License-Identifier: MIT
// The page side of the web platform layer (browser.h): WebGL on the page's canvas, the page's
// messages, and the browser's language. Linked into the page's script with --js-library.

addToLibrary({
  $Page: {
    gl: null,
    program: null,
    buffer: null,
    bufferBytes: 0,
    // A view of the frame's vertices in the game's memory, kept while they stay where they are:
    // no frame makes a new one once the first is drawn.
    vertices: null,
    // What the game set, made again on a context the browser gives back.
    viewport: [0, 0, 0, 0],
    clearColour: [0, 0, 0, 0],
    depthTest: false,
    depthFunc: 0x0201, // LESS

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

    // The program, the vertex buffer and the state, on a new context or one given back.
    makeResources() {
      const gl = Page.gl;
      const shader = (type, source) => {
        const made = gl.createShader(type);
        gl.shaderSource(made, source);
        gl.compileShader(made);
        gl.attachShader(Page.program, made);
      };
      Page.program = gl.createProgram();
      shader(gl.VERTEX_SHADER,
             'attribute vec4 clip; attribute vec3 colour; varying vec3 shade;' +
             'void main() { gl_Position = clip; shade = colour; }');
      shader(gl.FRAGMENT_SHADER,
             'precision mediump float; varying vec3 shade;' +
             'void main() { gl_FragColor = vec4(shade, 1.0); }');
      gl.bindAttribLocation(Page.program, 0, 'clip');
      gl.bindAttribLocation(Page.program, 1, 'colour');
      gl.linkProgram(Page.program);
      gl.useProgram(Page.program);

      Page.buffer = gl.createBuffer();
      Page.bufferBytes = 0;
      gl.bindBuffer(gl.ARRAY_BUFFER, Page.buffer);
      gl.enableVertexAttribArray(0);
      gl.enableVertexAttribArray(1);
      gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 28, 0);
      gl.vertexAttribPointer(1, 3, gl.FLOAT, false, 28, 16);

      gl.viewport(...Page.viewport);
      gl.clearColor(...Page.clearColour);
      if (Page.depthTest) gl.enable(gl.DEPTH_TEST);
      gl.depthFunc(Page.depthFunc);
    },
  },

  BrowserOpenWebGL__deps: ['$Page'],
  BrowserOpenWebGL: (minDepthBits) => {
    const canvas = document.getElementById('canvas');
    const gl = canvas && canvas.getContext('webgl', {
      alpha: false, depth: true, stencil: false, antialias: false, premultipliedAlpha: false,
    });
    if (!gl) return 1;
    if (gl.getParameter(gl.DEPTH_BITS) < minDepthBits) return 2;
    Page.gl = gl;
    canvas.addEventListener('webglcontextlost', (event) => {
      event.preventDefault(); // or the browser would never give it back
      Page.show('context-lost');
    });
    canvas.addEventListener('webglcontextrestored', () => {
      Page.makeResources();
      Page.hide('context-lost');
    });
    Page.makeResources();
    return 0;
  },

  BrowserDraw__deps: ['$Page'],
  BrowserDraw: (vertices, vertexCount, changed, runs, runCount) => {
    const gl = Page.gl;
    if (gl.isContextLost()) return;
    const bytes = vertexCount * 28;
    if (!Page.vertices || Page.vertices.byteOffset !== vertices || Page.vertices.byteLength !== bytes) {
      Page.vertices = HEAPU8.subarray(vertices, vertices + bytes);
    }
    if (bytes > Page.bufferBytes) {
      gl.bufferData(gl.ARRAY_BUFFER, bytes, gl.DYNAMIC_DRAW);
      Page.bufferBytes = bytes;
      changed = true; // a new buffer, or one made again with the context
    }
    if (changed) gl.bufferSubData(gl.ARRAY_BUFFER, 0, Page.vertices);
    for (let run = runs >> 2, end = run + runCount * 3; run < end; run += 3) {
      gl.drawArrays(HEAP32[run], HEAP32[run + 1], HEAP32[run + 2]);
    }
  },

  BrowserViewport__deps: ['$Page'],
  BrowserViewport: (x, y, width, height) => {
    Page.viewport = [x, y, width, height];
    Page.gl.viewport(x, y, width, height);
  },

  BrowserClearColor__deps: ['$Page'],
  BrowserClearColor: (red, green, blue, alpha) => {
    Page.clearColour = [red, green, blue, alpha];
    Page.gl.clearColor(red, green, blue, alpha);
  },

  BrowserClear__deps: ['$Page'],
  BrowserClear: (mask) => Page.gl.clear(mask),

  BrowserEnable__deps: ['$Page'],
  BrowserEnable: (capability) => {
    Page.depthTest = true; // the only capability the game enables
    Page.gl.enable(capability);
  },

  BrowserDepthFunc__deps: ['$Page'],
  BrowserDepthFunc: (func) => {
    Page.depthFunc = func;
    Page.gl.depthFunc(func);
  },

  BrowserShowMessage__deps: ['$Page', '$UTF8ToString'],
  BrowserShowMessage: (id, detail) => Page.show(UTF8ToString(id), UTF8ToString(detail)),

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
